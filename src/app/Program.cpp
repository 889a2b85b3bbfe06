#include "app/Program.h"

#include "capture/ImageFile.h"
#include "capture/ScreenSource.h"
#include "net/HttpTransport.h"
#include "ui/Forms.h"

namespace tovrik::app {

namespace {

[[nodiscard]] std::unique_ptr<net::HttpTransport> OwnUnlessGiven(net::HttpTransport* given,
                                                                 std::unique_ptr<net::HttpTransport> (*make)()) {
    return given != nullptr ? nullptr : make();
}

} // namespace

Program::Program(const ProgramPorts& ports, TextView programDirectory)
    : m_ownWebTransport(OwnUnlessGiven(ports.webTransport, net::MakeWebRequestTransport)),
      m_ownComTransport(OwnUnlessGiven(ports.comTransport, net::MakeComTransport)),
      m_application(ports.app, programDirectory), m_mainForm(ports.app.windows, ui::MainWindowForm()),
      m_keySource(m_application.SettingsForm()), m_statusView(m_mainForm),
      m_overlay(ports.screen, ports.settle, ports.overlayWindow, ports.fileDialogs, ports.clock),
      m_service(Text(programDirectory),
                {.webTransport = ports.webTransport != nullptr ? *ports.webTransport : *m_ownWebTransport,
                 .comTransport = ports.comTransport != nullptr ? *ports.comTransport : *m_ownComTransport,
                 .clock = ports.clock,
                 .keys = m_keySource,
                 .status = m_statusView,
                 .audio = ports.audio,
                 .toJpeg = [](BytesView image) { return capture::ToJpegBytes(image); }}),
      m_commands({.settingsForm = m_application.SettingsForm(),
                  .mainForm = m_mainForm,
                  .overlay = m_overlay,
                  .clipboard = ports.clipboard,
                  .service = m_service,
                  .clock = ports.clock,
                  .screenshotDir = m_application.ScreenshotDir()}),
      m_mainWindow({.mainForm = m_mainForm,
                    .settingsForm = m_application.SettingsForm(),
                    .commands = m_commands,
                    .service = m_service,
                    .clipboard = ports.clipboard,
                    .shell = ports.app.shell,
                    .screenshotDir = m_application.ScreenshotDir()}),
      m_keyCheck(m_application.SettingsForm(), m_application.Store(), m_service, ports.app.shell),
      m_screen(ports.screen) {
    m_application.SetCommands({
        .captureToFile = [this] { m_commands.CaptureToFile(); },
        .captureAndCopy = [this] { m_commands.CaptureAndCopy(); },
        .selfTranslate = [this] { m_mainWindow.SelfTranslate(); },
        .captureAndTranslate = [this] { m_commands.CaptureAndTranslate(); },
        .showMainWindow = [this] { m_commands.ShowMainWindow(false); },
        .setServiceKeys = [this](TextView appId, TextView appKey, TextView apiKey,
                                 TextView secretKey) { m_service.SetKeys(appId, appKey, apiKey, secretKey); },
    });
}

void Program::Start() {
    m_application.SetScreenOrigin(m_screen.Origin());
    m_application.Start();
}

} // namespace tovrik::app
