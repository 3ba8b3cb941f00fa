// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/AboutDlg.h"

AboutDlg::AboutDlg(QWidget* parent) : QWidget(parent) {}
