// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_bindings.h"

#include "parameters.h"
#include "window_model.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

namespace quelo {

TextBoxBinding::TextBoxBinding(const TextBox &model, QLineEdit &view)
    : m_model(model), m_view(view), m_shownText(model.Text), m_shownToolTip(model.ToolTip),
      m_shownEnabled(model.Enabled)
{
    m_view.setText(QString::fromStdString(m_shownText));
    m_view.setToolTip(QString::fromStdString(m_shownToolTip));
    m_view.setEnabled(m_shownEnabled);
}

void TextBoxBinding::sync()
{
    if (m_model.Text != m_shownText) {
        m_shownText = m_model.Text;
        m_view.setText(QString::fromStdString(m_shownText));
    }
    if (m_model.ToolTip != m_shownToolTip) {
        m_shownToolTip = m_model.ToolTip;
        m_view.setToolTip(QString::fromStdString(m_shownToolTip));
    }
    if (m_model.Enabled != m_shownEnabled) {
        m_shownEnabled = m_model.Enabled;
        m_view.setEnabled(m_shownEnabled);
    }
}

SliderBinding::SliderBinding(WindowModel &model, const ScrollBar &slider, QScrollBar &view,
                             UserMoved userMoved)
    : m_slider(slider), m_view(view)
{
    m_view.setRange(slider.Min(), slider.Max());
    m_view.setSingleStep(1);
    m_view.setPageStep(1);
    // A dragged thumb reports once, when it is let go.
    m_view.setTracking(false);
    m_view.setValue(slider.Value());
    m_view.setVisible(slider.Visible);
    QObject::connect(&m_view, &QScrollBar::valueChanged, &m_view,
                     [&model, &slider, userMoved = std::move(userMoved)](int value) {
                         const int before = slider.Value();
                         model.moveSlider(slider, static_cast<std::int16_t>(value));
                         if (userMoved && before != value)
                             userMoved(before, value);
                     });
}

void SliderBinding::sync()
{
    if (m_view.value() != m_slider.Value()) {
        const QSignalBlocker blocker(m_view);
        m_view.setValue(m_slider.Value());
    }
    if (m_view.isHidden() == m_slider.Visible)
        m_view.setVisible(m_slider.Visible);
}

UnconfirmedMark::UnconfirmedMark(const WindowModel &model, const Parameter &parameter,
                                 QLineEdit &box, QScrollBar &slider)
    : m_model(model), m_parameter(parameter), m_box(box), m_slider(slider)
{
}

void UnconfirmedMark::sync()
{
    const bool unconfirmed = m_model.unconfirmed(m_parameter);
    if (unconfirmed == m_shown)
        return;
    m_shown = unconfirmed;
    static const QColor kUnconfirmedText(0xFF, 0xC0, 0x00);
    static const QColor kConfirmedText(Qt::white);
    QPalette palette = m_box.palette();
    palette.setColor(QPalette::Text, unconfirmed ? kUnconfirmedText : kConfirmedText);
    m_box.setPalette(palette);
    QFont font = m_box.font();
    font.setItalic(unconfirmed);
    m_box.setFont(font);
    const QString why =
        unconfirmed ? QObject::tr("Not confirmed: the module did not report this value back "
                                  "after it was written. It is read again until it does.")
                    : QString();
    m_box.setToolTip(why);
    m_slider.setToolTip(why);
}

} // namespace quelo
