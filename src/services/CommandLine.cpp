#include "services/CommandLine.h"

#include "files/Files.h"
#include "services/MciCommand.h"
#include "services/RecognitionService.h"
#include "services/ServiceEndpoints.h"
#include "text/Encoding.h"
#include "text/Trim.h"

#include <ostream>
#include <string>
#include <utility>

namespace tovrik::services {
namespace {

constexpr TextView kOcrSection = "OCR";

[[nodiscard]] bool IsOption(TextView argument) {
    return argument.starts_with("--") || argument == "-h";
}

// Program text as the terminal takes it: UTF-8, lines ending in "\n".
[[nodiscard]] Bytes ForTerminal(TextView text) {
    Bytes utf8 = text::TextToUtf8(text);
    Bytes result;
    result.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            continue;
        }
        result.push_back(utf8[i]);
    }
    return result;
}

} // namespace

CommandLine::CommandLine(Text programDirectory, std::ostream& out, std::ostream& err, PictureCheck check)
    : m_settings(std::move(programDirectory)), m_out(out), m_err(err), m_keys(m_settings, err),
      m_check(std::move(check)) {}

const char* CommandLine::Usage() {
    return "Usage: TovrikOcr [--recognize FILE] [--translate [TEXT]] [--speak [TEXT]]\n"
           "  --recognize FILE   recognise the text in a picture file and print it\n"
           "  --translate [TEXT] translate TEXT, or the result of the step before, and print it\n"
           "  --speak [TEXT]     read TEXT, or the result of the step before, aloud\n"
           "Steps run in the order given. Keys, token and service addresses come from the\n"
           "settings file ZuDur.ini in the program directory.\n"
           "\n"
           "Usage: TovrikOcr --capture-to-file | --capture-and-copy | --capture-and-translate |\n"
           "                 --self-translate | --show-settings\n"
           "  hands the command to the running tray program (started first when none runs) and\n"
           "  returns at once; bind these to keys where the desktop keeps global hotkeys to itself.\n"
           "  Linux only.\n";
}

std::optional<std::vector<CommandLine::Step>> CommandLine::Parse(const std::vector<Text>& arguments, Text& errorOut) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const Text& option = arguments[i];
        const bool hasValue = i + 1 < arguments.size() && !IsOption(arguments[i + 1]);
        if (option == "--help" || option == "-h") {
            return std::vector<Step>{};
        }
        Step step;
        if (option == "--recognize") {
            if (!hasValue) {
                errorOut = "--recognize needs a picture file";
                return std::nullopt;
            }
            step.action = Action::Recognize;
        } else if (option == "--translate" || option == "--speak") {
            step.action = option == "--translate" ? Action::Translate : Action::Speak;
            if (!hasValue && steps.empty()) {
                errorOut = option + " needs a text, or a step before it whose result it takes";
                return std::nullopt;
            }
        } else {
            errorOut = "unknown argument: " + option;
            return std::nullopt;
        }
        if (hasValue) {
            step.argument = arguments[++i];
        }
        steps.push_back(std::move(step));
    }
    if (steps.empty()) {
        errorOut = "nothing to do";
        return std::nullopt;
    }
    return steps;
}

int CommandLine::Run(RecognitionService& service, const std::vector<Text>& arguments) {
    Text error;
    const auto steps = Parse(arguments, error);
    if (!steps) {
        m_err << ForTerminal(error) << '\n' << Usage();
        return kUsageError;
    }
    if (steps->empty()) {
        m_out << Usage();
        return 0;
    }
    ReportSettingsRepair(m_settings.Repair());
    service.SetKeys(m_settings.ReadItem(kOcrSection, "翻译AppId"), m_settings.ReadItem(kOcrSection, "翻译key"),
                    m_settings.ReadItem(kOcrSection, "识别ApiKey"), m_settings.ReadItem(kOcrSection, "识别SecretKey"));
    Text previous;
    for (const Step& step : *steps) {
        const Text input = step.argument.value_or(previous);
        bool done = false;
        switch (step.action) {
        case Action::Recognize:
            done = Recognize(service, input, previous);
            break;
        case Action::Translate:
            done = Translate(service, input, previous);
            break;
        case Action::Speak:
            done = Speak(service, input);
            break;
        }
        if (!done) {
            return kFailure;
        }
    }
    return 0;
}

void CommandLine::ReportSettingsRepair(const settings::SettingsCheck& check) {
    if (check.repair == settings::SettingsRepair::ConvertedFromUtf8) {
        m_err << ForTerminal("note: the settings file was in UTF-8; it is now in code page 936, the original kept as " +
                             check.keptAs)
              << '\n';
    } else if (check.repair == settings::SettingsRepair::SetAside) {
        m_err << ForTerminal("note: the settings file could not be read as settings; it is kept as " + check.keptAs +
                             " and the defaults are used")
              << '\n';
    }
}

std::optional<Bytes> CommandLine::ReadPicture(TextView path) {
    const Text name(path);
    // A named pipe, a device or a folder is refused before anything waits on it.
    if (!files::ReadFileHead(path, 1)) {
        Fail(files::FileExists(path) || files::DirectoryExists(path)
                 ? name + " is not a picture: only regular files are read"
                 : "cannot read the picture file " + name);
        return std::nullopt;
    }
    std::optional<Bytes> picture = files::ReadFile(path, kMaxPictureFileBytes);
    if (!picture) {
        Fail("cannot read the picture file " + name + " (at most " + std::to_string(kMaxPictureFileBytes >> 20) +
             " MB are read)");
        return std::nullopt;
    }
    if (picture->empty()) {
        Fail("the picture file " + name + " is empty");
        return std::nullopt;
    }
    if (m_check) {
        const PictureVerdict verdict = m_check(*picture);
        if (!verdict.isPicture) {
            Fail(name + " is not a picture (JPEG, PNG, BMP, GIF or TIFF); nothing was sent");
            return std::nullopt;
        }
        if (verdict.tooLarge) {
            Fail(name + " is too large: " + std::to_string(verdict.width) + " x " + std::to_string(verdict.height) +
                 " pixels, more than the " + std::to_string(verdict.maxPixels) + " that are read; nothing was sent");
            return std::nullopt;
        }
    }
    return picture;
}

bool CommandLine::Recognize(RecognitionService& service, TextView path, Text& resultOut) {
    const std::optional<Bytes> picture = ReadPicture(path);
    if (!picture) {
        return false;
    }
    if (service.GetAccessToken().empty()) {
        const Text base = ServiceBase(m_settings, ServiceHost::Ocr);
        Fail(m_keys.Refused() ? "the OCR service at " + base +
                                    " refused the keys (items 识别ApiKey and 识别SecretKey of section OCR in " +
                                    m_settings.SettingsPath() + ")"
                              : service.LastFailure());
        return false;
    }
    resultOut = service.RecognizeBasic(*picture);
    if (resultOut.empty()) {
        Fail(service.LastFailure().empty() ? "no text recognised in " + Text(path) : service.LastFailure());
        return false;
    }
    Print(resultOut);
    return true;
}

bool CommandLine::Translate(RecognitionService& service, TextView text, Text& resultOut) {
    if (text::Trim(text).empty()) {
        Fail("nothing to translate");
        return false;
    }
    resultOut = service.TranslateYoudao(text);
    if (resultOut == "\r\n") {
        Fail(service.LastFailure().empty()
                 ? "no translation: the translation service at " +
                       ServiceBase(m_settings, ServiceHost::YoudaoTranslate) + " gave an empty result"
                 : service.LastFailure());
        return false;
    }
    Print(resultOut);
    return true;
}

bool CommandLine::Speak(RecognitionService& service, TextView text) {
    if (text::Trim(text).empty()) {
        Fail("nothing to speak");
        return false;
    }
    service.Speak(text);
    const unsigned error = service.WaitForSpeech();
    if (error == kMciHardware) {
        Fail("the speech was downloaded but no sound output could be opened");
        return false;
    }
    if (error != 0) {
        Fail("no playable audio came from the speech service at " + ServiceBase(m_settings, ServiceHost::Speech) +
             " (player error " + std::to_string(error) + ")");
        return false;
    }
    return true;
}

void CommandLine::Print(TextView text) {
    const Bytes output = ForTerminal(text);
    m_out << output;
    if (!output.empty() && output.back() != '\n') {
        m_out << '\n';
    }
    m_out.flush();
}

void CommandLine::Fail(TextView message) {
    m_err << "TovrikOcr: " << ForTerminal(message) << '\n';
}

Text CommandLine::SettingsKeys::ApiKeyText() const {
    return m_settings.ReadItem(kOcrSection, "识别ApiKey");
}

Text CommandLine::SettingsKeys::SecretKeyText() const {
    return m_settings.ReadItem(kOcrSection, "识别SecretKey");
}

void CommandLine::SettingsKeys::ShowKeyError(TextView message) {
    m_refused = true;
    m_err << "TovrikOcr: " << ForTerminal(message) << '\n';
}

} // namespace tovrik::services
