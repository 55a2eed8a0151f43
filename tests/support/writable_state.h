// SPDX-License-Identifier: GPL-3.0-or-later
// Writable access to a model's window state, for tests that set a state up directly.
#pragma once

#include "window_model.h"

namespace quelo::test {

// The program reads the window state only through WindowModel::state() const and changes it
// through the model's commands. A test that puts the state where a conversation would have
// left it (a timer enabled, a value box filled) writes it here. The model's state is never a
// const object, so writing through this reference is well defined.
inline WindowState &writableState(WindowModel &model)
{
    return const_cast<WindowState &>(model.state());
}

} // namespace quelo::test
