// SPDX-License-Identifier: GPL-3.0-or-later
// view/main/: the data link's 800 x 675 client area, its artwork, bindings and printing.
#pragma once

#include "view_bindings.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
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
    // The user moved the slider of kParameters[parameter] (not a read-back moving it).
    void sliderMovedByUser(int parameter, int before, int after);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createHeader();
    void createConfiguration();
    void createGauges();
    void createConnectionPanel();
    QLineEdit *createTextBox(QLineEdit *edit, const TextBox &box, const QRect &geometry,
                             const QColor &background, const QColor &text, double points,
                             Qt::Alignment alignment);
    void createKeyboardPath();
    void showConnectionPanel(bool shown);
    void syncWithModel();

    WindowModel &m_model;
    std::vector<TextBoxBinding> m_textBoxes;
    std::vector<SliderBinding> m_sliders;
    std::vector<UnconfirmedMark> m_marks;
    std::vector<GaugeWidget *> m_gauges;
    ColourButton *m_command3 = nullptr;
    ColourButton *m_command4 = nullptr;
    ColourButton *m_command5 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QWidget *m_connection = nullptr;
    // Reached with Tab, in this order; those under the open panel are left out.
    std::vector<QWidget *> m_keyboardPath;
};

} // namespace quelo
