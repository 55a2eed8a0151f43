// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_category.h"

Q_LOGGING_CATEGORY(lcLink, "quelo.link", QtWarningMsg)
