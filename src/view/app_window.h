#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QMenu;

namespace quelo {

class MainWindow;
class WindowModel;

// The top-level window: a menu bar above the data link's 800 x 675 client area (MainWindow),
// which keeps every control where it is and is what PRINT and --screenshot capture. Every menu
// action goes through the model's handlers: Print is PRINT, Connection information is
// CONNECTION INFO, Quit is closing the window, and a loaded configuration moves the sliders as
// the user would.
class AppWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit AppWindow(WindowModel &model, QWidget *parent = nullptr);

    MainWindow &client() { return *m_client; }
    // The devices of ports 1..3, for About.
    void setPortDevices(const QStringList &devices) { m_devices = devices; }

    // Loads a configuration file as File > Load configuration does once its file dialog has
    // picked `path`: a bad file is reported and changes nothing; a good one is previewed and,
    // when confirmed, the sliders move to its values. Storing is left to the user.
    void loadFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createFileMenu();
    void createHelpMenu();
    void updateActions();
    void saveConfiguration();
    void loadConfiguration();
    bool explainLoadNotReady();
    void showAbout();
    QString dataLinkText() const;

    WindowModel &m_model;
    MainWindow *m_client = nullptr;
    QAction *m_save = nullptr;
    QStringList m_devices;
};

} // namespace quelo
