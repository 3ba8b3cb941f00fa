// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/LicenseDlg.h"

LicenseDlg::LicenseDlg(QWidget* parent) : QWidget(parent) {}
