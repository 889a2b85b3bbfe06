#include "CommandLineRun.h"

#include "capture/ImageFile.h"
#include "capture/PictureSize.h"
#include "net/HttpTransport.h"
#include "services/AudioPlayer.h"
#include "services/CommandLine.h"
#include "services/RecognitionService.h"
#include "settings/ProgramDirectory.h"
#include "settings/SystemClock.h"

#include <iostream>

namespace tovrik {

namespace {

// Only what the decoders read, and only up to the size they take, is sent to the service.
services::PictureVerdict CheckPicture(BytesView bytes) {
    const Text type = capture::ImageTypeOfBytes(bytes);
    services::PictureVerdict verdict;
    verdict.isPicture = type == "JPEG" || type == "PNG" || type == "BMP" || type == "GIF" || type == "TIFF";
    verdict.maxPixels = capture::kMaxPicturePixels;
    if (const std::optional<capture::PictureSize> size = capture::PictureSizeOf(bytes)) {
        verdict.width = size->width;
        verdict.height = size->height;
        verdict.tooLarge = size->Pixels() > capture::kMaxPicturePixels;
    }
    return verdict;
}

} // namespace

int RunCommandLine(const std::vector<Text>& arguments) {
    const Text directory = settings::ProgramDirectory();
    services::CommandLine commandLine(directory, std::cout, std::cerr, CheckPicture);
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
