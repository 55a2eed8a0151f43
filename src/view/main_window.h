// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "view_bindings.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace quelo {

class ColourButton;
class GaugeWidget;
class WindowModel;
struct TextBox;
class ScrollBar;

// The data link's window: every control at its place, showing the model and passing the user's
// clicks and slider moves to it.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(WindowModel &model, QWidget *parent = nullptr);
    ~MainWindow() override;

signals:
    // After the window has shown a change of the model (every model event).
    void modelChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createHeader();
    void createConfiguration();
    void createGauges();
    void createConnectionPanel();
    QLineEdit *createTextBox(QWidget *parent, const TextBox &box, const QRect &geometry,
                             const QColor &background, const QColor &text, double points,
                             Qt::Alignment alignment);
    void syncWithModel();

    WindowModel &m_model;
    std::vector<TextBoxBinding> m_textBoxes;
    std::vector<SliderBinding> m_sliders;
    std::vector<UnconfirmedMark> m_marks;
    std::vector<GaugeWidget *> m_gauges;
    ColourButton *m_command3 = nullptr;
    ColourButton *m_command4 = nullptr;
    QWidget *m_connection = nullptr;
};

} // namespace quelo
