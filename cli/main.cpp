// ribbon: the command-line tool over the barcode engine.

#include <iostream>
#include <map>
#include <string>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "runtime/Exceptions.h"

int main(int argc, char** argv) {
    using namespace ribbon::cli;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"types", RunTypes},   {"encode", RunEncode}, {"measure", RunMeasure},
        {"render", RunRender}, {"print", RunPrint},   {"control", RunControl},
    };
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << HelpText;
        return 0;
    }
    const Args args(argv + (argc > 1 ? 2 : 1), argv + argc);
    try {
        auto it = commands.find(command);
        if (it == commands.end())
            throw UsageError(command.empty() ? "no command given"
                                             : "unknown command '" + command + "'");
        return it->second(args);
    } catch (const UsageError& e) {
        std::cerr << "ribbon: " << e.what() << "\n(see 'ribbon --help')\n";
        return 2;
    } catch (const ribbon::Exception& e) {
        std::cerr << "ribbon: " << e.Message << '\n';
        return 1;
    }
}
