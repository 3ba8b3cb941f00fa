// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's file dialogs keep their state (the last folder visited, the history, the view)
// under the organisation "QtProject", whatever the application's is: on Windows in
// HKCU\Software\QtProject, shared by every Qt program, where Tintwell's uninstaller
// cannot remove Tintwell's part. For as long as one lives, this lends Tintwell's own
// state (HKCU\Software\Tintwell\FileDialog) to Qt's key; when it goes, it takes the
// dialog's state back there and puts Qt's key as it was before, or removes it when
// there was none. Elsewhere nothing to do: Qt's file is the user's, as with every Qt
// program.
class QtDialogState
{
public:
    QtDialogState();
    ~QtDialogState();
    QtDialogState(const QtDialogState&) = delete;
    QtDialogState& operator=(const QtDialogState&) = delete;

private:
    bool hadOrganization = false;
    bool hadDefaults = false;
    bool hadState = false;
};
