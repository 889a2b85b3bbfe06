#include "CommandLineRun.h"
#include "GuiApp.h"
#include "app/InstanceCommand.h"
#include "text/Encoding.h"

#include <vector>

int main(int argc, char** argv) {
    // The terminal speaks UTF-8; the program's text is code page 936.
    std::vector<tovrik::Text> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(tovrik::text::Utf8ToText(argv[i]));
    }
    if (arguments.empty()) {
        // No arguments: the tray program. Arguments: the command line, which needs no display.
        return tovrik::RunGui(argc, argv);
    }
    if (arguments.size() == 1) {
        if (const auto command = tovrik::app::CommandFromFlag(arguments[0])) {
            return tovrik::RunTrigger(argv[0], *command);
        }
    }
    return tovrik::RunCommandLine(arguments);
}
