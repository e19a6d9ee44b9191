// ribbon: the command-line tool over the barcode engine.

#include <algorithm>
#include <iostream>
#include <map>
#include <string>

#include "base/Exceptions.h"
#include "cli/Commands.h"
#include "cli/Options.h"

namespace {

using namespace ribbon::cli;

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

int Run(const Args& all) {
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"types", RunTypes},   {"encode", RunEncode}, {"measure", RunMeasure},
        {"render", RunRender}, {"print", RunPrint},   {"control", RunControl},
        {"labels", RunLabels},
    };
    if (all.empty()) throw UsageError("no command given");
    const std::string& command = all[0];
    const Args args(all.begin() + 1, all.end());
    if (command == "--version" || command == "-V") {
        if (!args.empty()) throw UsageError(command + " takes no arguments");
        std::cout << "ribbon " RIBBON_VERSION "\n";
        return 0;
    }
    if (command == "help" || IsHelp(command)) {
        if (args.size() > 1) throw UsageError(command + " takes at most one command");
        if (args.empty()) {
            std::cout << FullHelp();
            return 0;
        }
        const auto text = CommandHelp(args[0]);
        if (!text) throw UsageError("unknown command '" + args[0] + "'");
        std::cout << *text;
        return 0;
    }
    const auto it = commands.find(command);
    if (it == commands.end()) throw UsageError("unknown command '" + command + "'");
    // Asking for help wins over anything else on the line, mistakes included.
    if (std::any_of(args.begin(), args.end(), IsHelp)) {
        std::cout << *CommandHelp(command);
        return 0;
    }
    return it->second(args);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(Args(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        // A mistake in a command's options points at that command's help.
        const bool inCommand = argc > 1 && CommandHelp(argv[1]);
        std::cerr << "ribbon: " << e.what() << "\n(see 'ribbon " << (inCommand ? argv[1] : "")
                  << (inCommand ? " " : "") << "--help')\n";
        return 2;
    } catch (const ribbon::Exception& e) {
        std::cerr << "ribbon: " << e.Message << '\n';
        return 1;
    } catch (const std::exception& e) {
        // Out of memory and the like: a message and a failed job rather than an abort.
        std::cerr << "ribbon: " << e.what() << '\n';
        return 1;
    }
}
