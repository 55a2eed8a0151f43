// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace quelo {

// A message the model wrote (in English, plain C++) in the user's language: the text is matched
// against a table of the model's message shapes, each with its variable parts as %1, %2...,
// and those parts are put in the same way. A message of no known shape is shown as written.
// The model's texts inside the client area (the status line, the value boxes) do not come
// through here: they read the same in every language.
QString modelText(const std::string &text);

} // namespace quelo
