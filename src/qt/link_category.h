// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Link events: status-line changes, ports opened, closed and failing, writes the module refused.
// Info lines are off unless QT_LOGGING_RULES="quelo.link.info=true" or --log is given.
Q_DECLARE_LOGGING_CATEGORY(lcLink)
