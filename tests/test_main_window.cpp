// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_comm.h"
#include "gauge_widget.h"
#include "main_window.h"
#include "notice.h"
#include "virtual_clock.h"
#include "window_model.h"
#include "window_printer.h"
#include "writable_state.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace quelo;

namespace {

const QColor kNavy(0x00, 0x00, 0x80);

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
        : model(comm, clock, [this] { printed = printWindow(*window, pdfFolder.path()); }),
          window(std::make_unique<MainWindow>(model))
    {
    }

    QColor pixel(int x, int y) { return window->grab().toImage().pixelColor(x, y); }
    template <typename T> T *child(const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    test::FakeComm comm;
    test::VirtualClock clock;
    QTemporaryDir pdfFolder;
    QString printed;
    WindowModel model;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(MainWindowTest, WindowLayoutAndColours)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QUELO DATA LINK"));
    EXPECT_EQ(window->objectName(), QStringLiteral("zarvo"));
    EXPECT_EQ(window->size(), QSize(800, 675));
    EXPECT_EQ(pixel(5, 100), kNavy);
    EXPECT_EQ(pixel(360 + 60, 432 + 120), QColor(0x40, 0x80, 0x80)); // engine speed dial face
    EXPECT_EQ(pixel(240 + 296 + 6, 104 + 264 + 12), QColor(0x40, 0x40, 0x40)); // STORE button
    EXPECT_EQ(pixel(48 + 6, 336 + 16), QColor(0x00, 0x80, 0x00));              // CONNECTION INFO
    EXPECT_EQ(pixel(32 + 2, 488 + 2), QColor(0xFF, 0xFF, 0xFF));               // logo ground
    EXPECT_EQ(child<QLabel>("Label14")->text(), QStringLiteral("Quelo Series 508  Ignitions"));
    EXPECT_EQ(child<QWidget>("cyclescroll")->geometry(), QRect(384, 32, 129, 17));
    EXPECT_TRUE(child<QWidget>("cyclescroll")->isHidden());
    EXPECT_TRUE(child<QWidget>("connection")->isHidden());
}

// Tools and tests find the controls by these names; each name is used once.
TEST_F(MainWindowTest, CaptionsAndPinOutsCarryTheirControlNames)
{
    struct Named
    {
        const char *name;
        const char *parent;
        const char *text;
    };
    const Named labels[] = {
        {"Label2", "configmode", "RUN MODE START DELAY:"},
        {"Label3", "configmode", "LED MODE:"},
        {"Label4", "configmode", "TACH - Pulse / Rev:"},
        {"Label5", "configmode", "TACH - VOLTS:"},
        {"Label7", "configmode", "ADVANCE SHIFT:"},
        {"Label17", "configmode", "MAX RPM LIMIT:"},
        {"Label18", "configmode", "MAX ADVANCE LIMIT:"},
        {"Label24", "Frame1", "1 - Engine Ground"},
        {"Label23", "Frame1", "2 - Transmit Data - ICS"},
        {"Label22", "Frame1", "3 - Recieve Data - ICS"},
        {"Label21", "Frame1", "4 - Kill (P-Lead)"},
        {"Label20", "Frame1", "5 - System Power +12"},
        {"Label19", "Frame1", "6 - Tach Output"},
        {"Label15", "Frame2", "2 - Receive Data - ICS"},
        {"Label13", "Frame2", "3 - Transmit Data - ICS"},
        {"Label11", "Frame2", "5 - Ground"},
        {"Label12", "Frame2", "ICS: Ignition Comm System"},
        {"Label14", "zarvo", "Quelo Series 508  Ignitions"},
        {"Label8", "zarvo", "Ignition State:"},
    };
    for (const Named &expected : labels) {
        const QString name = QString::fromLatin1(expected.name);
        const QList<QLabel *> found = window->findChildren<QLabel *>(name);
        ASSERT_EQ(found.size(), 1) << expected.name;
        EXPECT_EQ(found.front()->text(), QString::fromLatin1(expected.text)) << expected.name;
        EXPECT_EQ(found.front()->parentWidget()->objectName(), QString::fromLatin1(expected.parent))
            << expected.name;
    }
    for (const char *unused : {"Label6", "Label9"})
        EXPECT_EQ(window->findChild<QWidget *>(QString::fromLatin1(unused)), nullptr) << unused;
}

TEST_F(MainWindowTest, FirmwareVersionIsBlackOnOlive)
{
    auto *revdata = child<QLineEdit>("revdata");
    EXPECT_EQ(revdata->palette().color(QPalette::Text), QColor(Qt::black));
    const QImage image = revdata->grab().toImage();
    int dark = 0;
    int light = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            dark += c.lightness() < 40;
            light += c.red() > 0xE0 && c.green() > 0xE0 && c.blue() > 0xE0;
        }
    }
    EXPECT_GT(dark, 5);  // the "0" is drawn in black
    EXPECT_EQ(light, 0); // and nothing in white
    EXPECT_EQ(image.pixelColor(2, image.height() / 2), QColor(0xC0, 0xC0, 0x00));
}

TEST_F(MainWindowTest, ValueBoxesShowButDoNotTakeTyping)
{
    for (const char *name : {"cycledata", "leddata", "pprdata", "vdata", "conshiftdata",
                             "maxrpmdata", "maxadvancedata", "revdata", "statusbox"})
        EXPECT_TRUE(child<QLineEdit>(name)->isReadOnly()) << name;
}

TEST_F(MainWindowTest, ModelTextsReachTheBoxes)
{
    WindowState &w = test::writableState(model);
    w.statusbox.Text = "Searching for the module";
    w.statusbox.ToolTip = "COM3: no such device";
    w.conshiftdata.Enabled = false;
    model.Command1_Click(); // any event lets the view catch up
    auto *status = child<QLineEdit>("statusbox");
    EXPECT_EQ(status->text(), QStringLiteral("Searching for the module"));
    EXPECT_EQ(status->toolTip(), QStringLiteral("COM3: no such device"));
    EXPECT_FALSE(child<QLineEdit>("conshiftdata")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("revdata")->text(), QStringLiteral("0"));
}

TEST_F(MainWindowTest, SlidersTalkToTheModelBothWays)
{
    WindowState &w = test::writableState(model);
    auto *cycle = child<QScrollBar>("cyclescroll");
    auto *advance = child<QScrollBar>("maxadvancescroll");
    EXPECT_EQ(advance->minimum(), 14);
    EXPECT_EQ(advance->maximum(), 35);
    EXPECT_FALSE(cycle->hasTracking());

    w.linkUp = true; // a connected module has reported every value
    w.readInConnection.fill(true);
    w.cyclescroll.Visible = true;
    model.moveSlider(w.cyclescroll, 3);
    EXPECT_FALSE(cycle->isHidden());
    EXPECT_EQ(cycle->value(), 3);
    EXPECT_EQ(pixel(240 + 296 + 6, 104 + 264 + 12), QColor(0x00, 0xFF, 0x00));

    // The user's move raises the model's change once.
    w.Command3.BackColor = kDarkGrey;
    w.cyclescroll.Tag = "0";
    cycle->setValue(5);
    EXPECT_EQ(w.cyclescroll.Value(), 5);
    EXPECT_EQ(w.cyclescroll.Tag, "1");
    EXPECT_EQ(pixel(240 + 296 + 6, 104 + 264 + 12), QColor(0x00, 0xFF, 0x00));
}

TEST_F(MainWindowTest, ConnectionPanelOpensAndCloses)
{
    auto *panel = child<QWidget>("connection");
    child<QPushButton>("Command4")->click();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(pixel(48 + 6, 336 + 16), QColor(0xFF, 0x80, 0x00));
    EXPECT_EQ(pixel(240 + 10, 316), QColor(0x80, 0xFF, 0x80)); // panel lies over the configuration

    child<QPushButton>("Command1")->click();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(pixel(48 + 6, 336 + 16), QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(pixel(240 + 10, 316), kNavy);
}

TEST_F(MainWindowTest, PrintWithoutPrinterWritesOnePagePdf)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; printing would use it";
    ASSERT_TRUE(pdfFolder.isValid());
    child<QPushButton>("Command4")->click();
    child<QPushButton>("Command2")->click();

    ASSERT_FALSE(printed.isEmpty());
    EXPECT_TRUE(printed.startsWith(pdfFolder.path()));
    EXPECT_TRUE(QFileInfo(printed).fileName().startsWith(QStringLiteral("Quelo Data Link ")));
    QFile pdf(printed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              1);
    auto *notice = window->findChild<Notice *>(QStringLiteral("notice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->message().contains(QFileInfo(printed).fileName()));
}

TEST_F(MainWindowTest, PrintFailureIsReportedWithoutADialog)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; printing would use it";
    QFile blocker(pdfFolder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_TRUE(
        printWindow(*window, blocker.fileName() + QStringLiteral("/inside"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    auto *notice = window->findChild<Notice *>(QStringLiteral("notice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->message(), error);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, NeedlesAtRestCauseNoPaint)
{
    WindowState &w = test::writableState(model);
    w.rpmtarget = 0;
    w.voltstarget = 0;
    w.advtarget = 20;
    w.proptarget = 0;
    window->show();
    settle();
    auto *rpm = child<GaugeWidget>("rpmdial");
    auto *volts = child<GaugeWidget>("voltsdial");
    auto *adv = child<GaugeWidget>("advdial");
    auto *prop = child<GaugeWidget>("AGauge2");
    const int rpmPaints = rpm->paintCount();
    const int others = volts->paintCount() + adv->paintCount() + prop->paintCount();
    EXPECT_GT(rpmPaints, 0);

    clock.advance(500); // fifty animation ticks
    settle();
    EXPECT_EQ(rpm->paintCount(), rpmPaints);
    EXPECT_EQ(volts->paintCount() + adv->paintCount() + prop->paintCount(), others);

    w.rpmtarget = 2000;
    for (int i = 0; i < 20; ++i) {
        clock.advance(10);
        settle();
    }
    EXPECT_GT(rpm->paintCount(), rpmPaints);
    EXPECT_GT(model.state().rpmdial.Value, 0.0);
    EXPECT_EQ(volts->paintCount() + adv->paintCount() + prop->paintCount(), others);
}

// PRINT twice within the notice's life: the notice of the first never shows on the second
// page, and while it shows it hides nothing the user reads.
TEST_F(MainWindowTest, ThePrintNoticeCoversNothingAndIsNeverPrinted)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; printing would use it";
    window->show();
    child<QPushButton>("Command4")->click();
    child<QPushButton>("Command2")->click();
    settle();
    auto *notice = window->findChild<Notice *>(QStringLiteral("notice"));
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(notice->isVisible());
    const QRect area = notice->geometry();

    // Everything that is read or clicked, with the panel open or closed.
    for (const char *name : {"statusbox", "Label8", "Command4", "Command5", "AGauge2", "advdial",
                             "connection", "configmode", "Label10", "revdata"}) {
        EXPECT_FALSE(area.intersects(child<QWidget>(name)->geometry())) << name;
    }
    // The whole text fits: the saved file's name can be read in full.
    EXPECT_GE(area.height(), notice->heightForWidth(area.width()));
    EXPECT_TRUE(notice->message().contains(QFileInfo(printed).fileName()));

    // The next page is the window without the notice, and the notice is gone from it.
    notice->hide();
    const QImage expected = window->grab().toImage();
    notice->show();
    const QImage page = pageImage(*window).toImage();
    EXPECT_EQ(page, expected);
    EXPECT_NE(page.pixelColor(area.center()), QColor(0xFF, 0xFF, 0xE0));
    EXPECT_TRUE(notice->isHidden());

    // A second PRINT leaves one notice, naming the new file.
    const QString first = printed;
    child<QPushButton>("Command2")->click();
    settle();
    ASSERT_NE(printed, first); // within the same second too
    EXPECT_TRUE(QFileInfo::exists(first));
    QList<Notice *> shown;
    for (Notice *n : window->findChildren<Notice *>())
        if (n->isVisible())
            shown.append(n);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front()->message().contains(QFileInfo(printed).fileName()));
}

// A value the module never confirmed is marked on its row, and only while it is so; a
// confirmed row keeps its white upright text.
TEST_F(MainWindowTest, AnUnconfirmedValueIsMarkedOnItsRow)
{
    WindowState &w = test::writableState(model);
    auto *box = child<QLineEdit>("cycledata");
    auto *slider = child<QScrollBar>("cyclescroll");
    const QColor white(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(box->palette().color(QPalette::Text), white);
    EXPECT_FALSE(box->font().italic());

    w.traffic[0].unconfirmed = true;
    model.Command1_Click(); // any event lets the view catch up
    EXPECT_TRUE(box->font().italic());
    EXPECT_NE(box->palette().color(QPalette::Text), white);
    EXPECT_TRUE(box->toolTip().startsWith("Not confirmed")) << box->toolTip().toStdString();
    EXPECT_EQ(slider->toolTip(), box->toolTip());
    EXPECT_FALSE(child<QLineEdit>("leddata")->font().italic());

    w.traffic[0].unconfirmed = false;
    model.Command1_Click();
    EXPECT_FALSE(box->font().italic());
    EXPECT_EQ(box->palette().color(QPalette::Text), white);
    EXPECT_TRUE(slider->toolTip().isEmpty());
}
