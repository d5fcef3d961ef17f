// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/systemfonts.h"

// Windows hands Qt its fonts from the system's own font service: there is no configuration to
// read ahead.
SystemFontsLoading::SystemFontsLoading() = default;
