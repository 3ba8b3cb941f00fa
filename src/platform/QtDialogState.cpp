// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtDialogState.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

namespace
{
const wchar_t organizationKey[] = L"Software\\QtProject";
const wchar_t defaultsKey[] = L"Software\\QtProject\\OrganizationDefaults";
const wchar_t qtKey[] = L"Software\\QtProject\\OrganizationDefaults\\FileDialog";
const wchar_t ownKey[] = L"Software\\Tintwell\\FileDialog";
// Another Qt program's state, kept aside while Tintwell's is lent.
const wchar_t keptKey[] = L"Software\\Tintwell\\QtProjectFileDialog";

bool exists(const wchar_t* key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// Replaces the tree `to` by a copy of `from`, or removes it when `from` is empty or
// does not exist.
void copyTree(const wchar_t* from, const wchar_t* to)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, to);
    RegDeleteKeyW(HKEY_CURRENT_USER, to);
    HKEY source = nullptr;
    if (!*from || RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS)
        return;
    HKEY target = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeW(source, nullptr, target);
        RegCloseKey(target);
    }
    RegCloseKey(source);
}

// Removes a key left without subkeys or values; a key in use by others stays.
void removeIfEmpty(const wchar_t* key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    // RegQueryInfoKeyW would count them, but Wine leaves its counts unset.
    wchar_t name[256];
    DWORD length = 256;
    const bool empty = RegEnumKeyExW(handle, 0, name, &length, nullptr, nullptr, nullptr,
                                     nullptr) == ERROR_NO_MORE_ITEMS &&
                       (length = 256, RegEnumValueW(handle, 0, name, &length, nullptr, nullptr,
                                                    nullptr, nullptr) == ERROR_NO_MORE_ITEMS);
    RegCloseKey(handle);
    if (empty)
        RegDeleteKeyW(HKEY_CURRENT_USER, key);
}
} // namespace
#endif

QtDialogState::QtDialogState()
{
#ifdef Q_OS_WIN
    hadOrganization = exists(organizationKey);
    hadDefaults = exists(defaultsKey);
    hadState = exists(qtKey);
    if (hadState)
        copyTree(qtKey, keptKey);
    copyTree(ownKey, qtKey);
#endif
}

QtDialogState::~QtDialogState()
{
#ifdef Q_OS_WIN
    copyTree(qtKey, ownKey);
    if (hadState) {
        copyTree(keptKey, qtKey);
        copyTree(L"", keptKey);
    } else {
        copyTree(L"", qtKey);
    }
    if (!hadDefaults)
        removeIfEmpty(defaultsKey);
    if (!hadOrganization)
        removeIfEmpty(organizationKey);
#endif
}
