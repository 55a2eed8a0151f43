// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"

#include <functional>
#include <string>

class QLineEdit;
class QScrollBar;

namespace quelo {

class WindowModel;
struct Parameter;

// Shows a model text box in a line edit: text, tooltip and enabled state, each set only when
// the model's differs from what is shown.
class TextBoxBinding
{
public:
    TextBoxBinding(const TextBox &model, QLineEdit &view);
    void sync();

private:
    const TextBox &m_model;
    QLineEdit &m_view;
    std::string m_shownText;
    std::string m_shownToolTip;
    bool m_shownEnabled;
};

// Ties a model slider to a scroll bar both ways: the user's moves go to the model as one
// change each, and the model's value and visibility come back without raising a change.
// `userMoved`, when given, hears each move of the user's with the values before and after.
class SliderBinding
{
public:
    using UserMoved = std::function<void(int before, int after)>;

    SliderBinding(WindowModel &model, const ScrollBar &slider, QScrollBar &view,
                  UserMoved userMoved = {});
    void sync();

private:
    const ScrollBar &m_slider;
    QScrollBar &m_view;
};

// Marks a parameter row whose value the module never confirmed (the change was given up): the
// value box's text turns italic and amber instead of white, and the box and the slider say why
// in their tooltips. A row the module confirms looks as it always does.
class UnconfirmedMark
{
public:
    UnconfirmedMark(const WindowModel &model, const Parameter &parameter, QLineEdit &box,
                    QScrollBar &slider);
    void sync();

private:
    const WindowModel &m_model;
    const Parameter &m_parameter;
    QLineEdit &m_box;
    QScrollBar &m_slider;
    bool m_shown = false;
};

} // namespace quelo
