// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include "parameters.h"

#include "accessible_controls.h"
#include "artwork.h"
#include "caption_frame.h"
#include "colour_button.h"
#include "enter_presses.h"
#include "gauge_widget.h"
#include "parameter_slider.h"
#include "picture_widget.h"
#include "view_fonts.h"
#include "window_model.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <iterator>

namespace quelo {

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kPaleGreen(0x80, 0xFF, 0x80);
const QColor kBlack(0x00, 0x00, 0x00);

QColor rgb(std::uint32_t packed)
{
    return QColor::fromRgb(static_cast<QRgb>(packed));
}

void setColours(QWidget &widget, const QColor &background, const QColor &text)
{
    QPalette colours = widget.palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Text, text);
    widget.setPalette(colours);
    widget.setAutoFillBackground(true);
}

// The stand-in fonts run a little wider than the originals; a caption that would be cut off
// drops a pixel size or two instead.
QFont fittedFont(QFont font, const QString &text, int width)
{
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QLabel *createLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                    const QColor &background, const QColor &colour, const QFont &font,
                    Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(fittedFont(font, text, geometry.width()));
    label->setAlignment(alignment | Qt::AlignTop);
    setColours(*label, background, colour);
    return label;
}

ColourButton *createColourButton(QWidget *parent, const char *name, const QString &text,
                                 const QRect &geometry, const QColor &face, const QFont &font)
{
    auto *button = new ColourButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(font);
    button->setFaceColour(face);
    return button;
}

QPushButton *createButton(QWidget *parent, const char *name, const QString &text,
                          const QRect &geometry, const QFont &font)
{
    auto *button = new FocusMarkedButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(font);
    return button;
}

} // namespace

MainWindow::MainWindow(WindowModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    // Before any control exists: Qt keeps the first accessible interface made for a widget.
    installAccessibleControls();
    setObjectName(QStringLiteral("zarvo"));
    setWindowTitle(QStringLiteral("QUELO DATA LINK"));
    setFixedSize(800, 675);
    setColours(*this, kNavy, kWhite);
    setFont(pixelFont(QString::fromLatin1(kSansSerif), 8.25));

    m_textBoxes.reserve(10);
    m_sliders.reserve(7);
    createHeader();
    createGauges();
    createConfiguration();
    createConnectionPanel();
    createKeyboardPath();

    m_model.setChangeListener([this] { syncWithModel(); });
    syncWithModel();
}

MainWindow::~MainWindow()
{
    m_model.setChangeListener({});
}

void MainWindow::createHeader()
{
    const WindowState &w = m_model.state();
    const QString sans = QString::fromLatin1(kSansSerif);
    const QColor highlightText = palette().color(QPalette::HighlightedText);

    createLabel(this, "Label16", QStringLiteral("Quelo Interactive Configuration"),
                {8, 16, 505, 41}, kNavy, QColor(0xFF, 0xFF, 0x80), pixelFont(sans, 24, true, true));
    createLabel(this, "Label14", QStringLiteral("Quelo Series 508  Ignitions"), {520, 24, 169, 17},
                kNavy, kWhite, pixelFont(sans, 8.25, true));
    createLabel(this, "Label1", QStringLiteral("Rev: 03 Beta"), {520, 40, 169, 17}, kNavy, kWhite,
                pixelFont(sans, 8.25, true));
    createLabel(this, "Label10", QStringLiteral("Firmware Version:"), {448, 56, 153, 25}, kNavy,
                highlightText, pixelFont(sans, 12, true), Qt::AlignRight);
    QLineEdit *revdata = createTextBox(new QLineEdit(this), w.revdata, {624, 56, 49, 19},
                                       QColor(0xC0, 0xC0, 0x00), kBlack, 9.75, Qt::AlignCenter);
    revdata->setObjectName(QStringLiteral("revdata"));
    revdata->setAccessibleName(tr("Firmware Version"));

    m_command4 =
        createColourButton(this, "Command4", QStringLiteral("CONNECTION INFO"), {48, 336, 153, 33},
                           rgb(w.Command4.BackColor), pixelFont(sans, 9.75, true));
    connect(m_command4, &QPushButton::clicked, this, [this] { m_model.Command4_Click(); });
    m_command5 = createColourButton(this, "Command5", QStringLiteral("RESET"), {88, 376, 73, 25},
                                    QColor(0x00, 0x80, 0x00), pixelFont(sans, 8.25, true));
    connect(m_command5, &QPushButton::clicked, this, [this] { m_model.Command5_Click(); });

    auto *logo = new PictureWidget(&drawLogo, kWhite, this);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setGeometry(32, 488, 100, 45);

    createLabel(this, "Label8", QStringLiteral("Ignition State:"), {16, 616, 121, 25}, kNavy,
                highlightText, pixelFont(sans, 12, true), Qt::AlignRight);
    createTextBox(new StatusLine(tr("Ignition State"), this), w.statusbox, {144, 616, 377, 20},
                  kNavy, QColor(0x00, 0xFF, 0x00), 12, Qt::AlignLeft)
        ->setObjectName(QStringLiteral("statusbox"));
}

void MainWindow::createGauges()
{
    const WindowState &w = m_model.state();
    struct Placement
    {
        const Gauge &gauge;
        const char *name;
        QRect geometry;
        const bool *shown;
        // What assistive tools are told: the gauge's name, its unit and decimals.
        struct
        {
            QString name;
            QString unit;
            int decimals;
        } reading;
    };
    // The propeller gauge shows while the scheduler's standing poll asks for the propeller.
    const Placement placements[] = {
        {w.AGauge2,
         "AGauge2",
         {16, 112, 217, 193},
         &w.propellerPoll,
         {tr("Propeller angle"), tr("degrees"), 0}},
        {w.advdial,
         "advdial",
         {152, 432, 201, 169},
         nullptr,
         {tr("Ignition advance"), tr("degrees before top dead centre"), 1}},
        {w.rpmdial, "rpmdial", {360, 432, 201, 169}, nullptr, {tr("Engine speed"), tr("rpm"), 0}},
        {w.voltsdial,
         "voltsdial",
         {568, 432, 201, 169},
         nullptr,
         {tr("Bus voltage"), tr("volts"), 1}}};
    for (const Placement &p : placements) {
        auto *gauge = new GaugeWidget(p.gauge, p.shown, this);
        gauge->setObjectName(QString::fromLatin1(p.name));
        gauge->setGeometry(p.geometry);
        gauge->setReading(p.reading.name, p.reading.unit, p.reading.decimals);
        m_gauges.push_back(gauge);
    }
}

void MainWindow::createConfiguration()
{
    const WindowState &w = m_model.state();
    const QString sans = QString::fromLatin1(kSansSerif);
    auto *frame = new CaptionFrame(QStringLiteral("Quelo Configuration"), kNavy,
                                   QColor(0xFF, 0xFF, 0x00), this);
    frame->setObjectName(QStringLiteral("configmode"));
    frame->setGeometry(240, 104, 529, 305);
    frame->setFont(pixelFont(sans, 9.75));

    // Where each parameter row stands in the frame, in the parameter table's order; the row's
    // caption, controls and their names come from the table.
    struct RowPlace
    {
        const char *captionName;
        int captionX;
        int captionWidth;
        int y;
    };
    constexpr RowPlace places[] = {{"Label2", 24, 257, 24},  {"Label3", 88, 193, 56},
                                   {"Label4", 96, 185, 88},  {"Label5", 88, 193, 120},
                                   {"Label7", 88, 193, 152}, {"Label17", 88, 193, 184},
                                   {"Label18", 88, 193, 216}};
    static_assert(std::size(places) == kParameterCount, "a parameter row has no place");
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const RowPlace &place = places[i];
        createLabel(frame, place.captionName, tr(p.caption),
                    {place.captionX, place.y, place.captionWidth, 25}, kNavy, kWhite,
                    pixelFont(sans, 12, true), Qt::AlignRight);
        const QString name = QString::fromLatin1(p.name);
        QLineEdit *box = createTextBox(new QLineEdit(frame), w.*p.box, {296, place.y, 81, 25},
                                       kNavy, kWhite, 12, Qt::AlignCenter);
        box->setObjectName(QString::fromLatin1(p.boxName));
        box->setAccessibleName(name);
        box->setAccessibleDescription(tr("The value the module reported"));
        auto *slider = new ParameterSlider(name, *box, frame);
        slider->setObjectName(QString::fromLatin1(p.sliderName));
        slider->setGeometry(384, place.y + 8, 129, 17);
        m_sliders.emplace_back(m_model, w.*p.slider, *slider, [this, i](int before, int after) {
            emit sliderMovedByUser(static_cast<int>(i), before, after);
        });
        m_keyboardPath.push_back(slider);
        m_marks.emplace_back(m_model, p, *box, *slider);
    }

    m_command3 =
        createColourButton(frame, "Command3", QStringLiteral("STORE CONFIGURATION"),
                           {296, 264, 217, 25}, rgb(w.Command3.BackColor), pixelFont(sans, 8.25));
    connect(m_command3, &QPushButton::clicked, this, [this] { m_model.Command3_Click(); });
}

void MainWindow::createConnectionPanel()
{
    const QString sans = QString::fromLatin1(kSansSerif);
    auto *panel =
        new CaptionFrame(QStringLiteral("Connection Information"), kPaleGreen, kBlack, this);
    panel->setObjectName(QStringLiteral("connection"));
    panel->setGeometry(240, 16, 553, 641);
    panel->setFont(pixelFont(sans, 8.25));
    m_connection = panel;

    auto *pictureBox = new QWidget(panel);
    pictureBox->setObjectName(QStringLiteral("Picture1"));
    pictureBox->setGeometry(32, 24, 489, 489);
    setColours(*pictureBox, QColor(0xFF, 0xFF, 0x80), kBlack);
    auto *wiring = new PictureWidget(&drawWiring, kWhite, pictureBox);
    wiring->setGeometry(0, 0, 487, 484);

    const QFont bold = pixelFont(sans, 9.75, true);
    auto *serial = new CaptionFrame(QStringLiteral("Serial Connector"), kPaleGreen, kBlack, panel);
    serial->setObjectName(QStringLiteral("Frame2"));
    serial->setGeometry(16, 504, 177, 129);
    serial->setFont(bold);
    createLabel(serial, "Label15", QStringLiteral("2 - Receive Data - ICS"), {16, 24, 129, 17},
                kPaleGreen, kBlack, bold);
    createLabel(serial, "Label13", QStringLiteral("3 - Transmit Data - ICS"), {16, 40, 129, 17},
                kPaleGreen, kBlack, bold);
    createLabel(serial, "Label11", QStringLiteral("5 - Ground"), {16, 56, 105, 17}, kPaleGreen,
                kBlack, bold);
    createLabel(serial, "Label12", QStringLiteral("ICS: Ignition Comm System"), {16, 88, 137, 17},
                kPaleGreen, kBlack, pixelFont(sans, 8.25), Qt::AlignHCenter);

    auto *module = new CaptionFrame(QStringLiteral("Quelo Connector"), kPaleGreen, kBlack, panel);
    module->setObjectName(QStringLiteral("Frame1"));
    module->setGeometry(200, 504, 185, 129);
    module->setFont(bold);
    const QString pins[] = {
        QStringLiteral("1 - Engine Ground"),      QStringLiteral("2 - Transmit Data - ICS"),
        QStringLiteral("3 - Recieve Data - ICS"), QStringLiteral("4 - Kill (P-Lead)"),
        QStringLiteral("5 - System Power +12"),   QStringLiteral("6 - Tach Output")};
    const QFontMetrics metrics(bold);
    // Numbered from the bottom up: pin 1 is Label24, pin 6 is Label19.
    for (int i = 0; i < 6; ++i) {
        const int width = std::min(161, metrics.horizontalAdvance(pins[i]) + 2);
        const QByteArray name = "Label" + QByteArray::number(24 - i);
        createLabel(module, name.constData(), pins[i], {16, 24 + 16 * i, width, 17}, kPaleGreen,
                    kBlack, bold);
    }

    m_command1 = createButton(panel, "Command1", QStringLiteral("RETURN"), {400, 528, 129, 33},
                              pixelFont(sans, 8.25, true));
    connect(m_command1, &QPushButton::clicked, this, [this] { m_model.Command1_Click(); });
    m_command2 = createButton(panel, "Command2", QStringLiteral("PRINT"), {400, 592, 129, 33},
                              pixelFont(sans, 8.25, true));
    connect(m_command2, &QPushButton::clicked, this, [this] { m_model.Command2_Click(); });

    panel->setVisible(m_model.state().connection.Visible);
    panel->raise();
}

// The boxes only show: a click may select their text, but Tab passes them by.
QLineEdit *MainWindow::createTextBox(QLineEdit *edit, const TextBox &box, const QRect &geometry,
                                     const QColor &background, const QColor &text, double points,
                                     Qt::Alignment alignment)
{
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setGeometry(geometry);
    edit->setFont(pixelFont(QString::fromLatin1(kSansSerif), points, true));
    edit->setAlignment(alignment | Qt::AlignVCenter);
    edit->setReadOnly(true);
    edit->setTextMargins(0, 0, 0, 0);
    setColours(*edit, background, text);
    m_textBoxes.emplace_back(box, *edit);
    return edit;
}

// Tab goes through the sliders in row order, STORE CONFIGURATION, CONNECTION INFO, RESET, then
// the panel's RETURN and PRINT while it is open. A click gives none of them the focus, so only
// the keyboard brings up a focus mark; at start the focus rests on the window itself.
void MainWindow::createKeyboardPath()
{
    m_keyboardPath.insert(m_keyboardPath.end(),
                          {m_command3, m_command4, m_command5, m_command1, m_command2});
    auto *enterPresses = new EnterPresses(this);
    QWidget *previous = nullptr;
    for (QWidget *control : m_keyboardPath) {
        control->setFocusPolicy(Qt::TabFocus);
        if (qobject_cast<QAbstractButton *>(control))
            control->installEventFilter(enterPresses);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);
    showConnectionPanel(m_model.state().connection.Visible);
}

// What the open panel covers cannot be reached with Tab, as it cannot be clicked; the focus
// leaves a covered control for RETURN, and the closing panel for CONNECTION INFO.
void MainWindow::showConnectionPanel(bool shown)
{
    QWidget *focused = QApplication::focusWidget();
    bool focusCovered = false;
    for (QWidget *control : m_keyboardPath) {
        if (m_connection->isAncestorOf(control))
            continue;
        const QRect area(control->mapTo(this, QPoint(0, 0)), control->size());
        if (!m_connection->geometry().intersects(area))
            continue;
        control->setFocusPolicy(shown ? Qt::NoFocus : Qt::TabFocus);
        focusCovered = focusCovered || control == focused;
    }
    if (!shown && focused && m_connection->isAncestorOf(focused))
        m_command4->setFocus(Qt::TabFocusReason);
    m_connection->setVisible(shown);
    if (shown)
        m_connection->raise();
    if (shown && focusCovered)
        m_command1->setFocus(Qt::TabFocusReason);
}

void MainWindow::syncWithModel()
{
    const WindowState &w = m_model.state();
    for (TextBoxBinding &box : m_textBoxes)
        box.sync();
    for (SliderBinding &slider : m_sliders)
        slider.sync();
    for (UnconfirmedMark &mark : m_marks)
        mark.sync();
    m_command3->setFaceColour(rgb(w.Command3.BackColor));
    m_command4->setFaceColour(rgb(w.Command4.BackColor));
    if (m_connection->isHidden() == w.connection.Visible)
        showConnectionPanel(w.connection.Visible);
    for (GaugeWidget *gauge : m_gauges)
        gauge->sync();
    emit modelChanged();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_model.Form_Unload();
    event->accept();
}

} // namespace quelo
