// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo_module.h"

#include <QCoreApplication>

#ifdef QUELO_HAVE_PTY_SIM
#include "pty_server.h"
#endif

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(DemoModule)
};

} // namespace

#ifdef QUELO_HAVE_PTY_SIM

DemoModule::DemoModule() = default;
DemoModule::~DemoModule() = default;

bool DemoModule::available()
{
    return true;
}

bool DemoModule::start()
{
    m_server = std::make_unique<sim::PtyServer>();
    if (m_server->start())
        return true;
    m_error = m_server->errorString();
    m_server.reset();
    return false;
}

QString DemoModule::devicePath() const
{
    return m_server ? m_server->devicePath() : QString();
}

#else

// Only the pointer's type is needed where there is no simulator.
namespace sim {
class PtyServer
{
};
} // namespace sim

DemoModule::DemoModule() = default;
DemoModule::~DemoModule() = default;

bool DemoModule::available()
{
    return false;
}

bool DemoModule::start()
{
    m_error = Text::tr("this build has no simulated module (no pseudo-terminals)");
    return false;
}

QString DemoModule::devicePath() const
{
    return {};
}

#endif

} // namespace quelo
