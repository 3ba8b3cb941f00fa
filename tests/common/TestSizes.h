// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sanitizer builds run many times slower. They look for memory errors, not for
// capacity, so their large files are a tenth of the size.
#ifdef TINTWELL_SANITIZED
constexpr int largeFileEntries = 20000;
#else
constexpr int largeFileEntries = 200000;
#endif
