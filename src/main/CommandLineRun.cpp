#include "CommandLineRun.h"

#include "capture/ImageFile.h"
#include "net/HttpTransport.h"
#include "services/AudioPlayer.h"
#include "services/CommandLine.h"
#include "services/RecognitionService.h"
#include "settings/ProgramDirectory.h"
#include "settings/SystemClock.h"

#include <iostream>

namespace tovrik {

int RunCommandLine(const std::vector<Text>& arguments) {
    const Text directory = settings::ProgramDirectory();
    services::CommandLine commandLine(directory, std::cout, std::cerr);
    const auto webTransport = net::MakeWebRequestTransport();
    const auto comTransport = net::MakeComTransport();
    const auto audio = services::CreateSystemAudioPlayer();
    const settings::SystemClock clock;
    services::RecognitionService service(directory, {.webTransport = *webTransport,
                                                     .comTransport = *comTransport,
                                                     .clock = clock,
                                                     .keys = commandLine.Keys(),
                                                     .status = commandLine.Status(),
                                                     .audio = *audio,
                                                     .toJpeg = capture::ToJpegBytes});
    return commandLine.Run(service, arguments);
}

} // namespace tovrik
