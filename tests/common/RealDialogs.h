// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Drives the real modal dialogs, for the few tests that prove Tintwell's wiring to
// them; every other test answers through Messages and Choosers.
//
// The action runs once the dialog is the active modal window (waited for with
// QTRY_VERIFY inside the dialog's own event loop), so nothing races a timer. A dialog
// still open after the action, or after a failed wait, is rejected so a failing test
// ends instead of hanging.
namespace RealDialogs
{

void whenModal(std::function<void(QWidget* dialog)> action);

// Types `folder` into a folder dialog's name box and accepts it. Typing an absolute
// path selects that folder at once, whatever the dialog's file model has read so far.
void chooseFolder(QWidget* dialog, const QString& folder);

} // namespace RealDialogs
