// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/systemfonts.h"

#include <fontconfig/fontconfig.h>

// Qt reads fontconfig's configuration, some sixty files, when the first font is asked for: half
// of what the game computes before its window shows, and on a second core it costs no waiting.
// fontconfig loads its configuration once per process, whichever thread asks first.
SystemFontsLoading::SystemFontsLoading() : m_thread([] { FcInit(); }) {}
