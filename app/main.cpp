#include "console/DesktopConsole.hpp"

#include "platform/dispatch/Runtime.hpp"

#include <cstring>
#include <iostream>

// The program's entry: the desktop console on the simulated desktop.
//   tilmora                  an interactive session on the default desktop, in real time
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input) and
//                            exits with its status (0 passed, 1 a failed expect, 2 an error)
int main(int argc, char** argv) {
    using tilmora::DesktopConsole;
    if (argc == 3 && std::strcmp(argv[1], "--script") == 0) {
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        DesktopConsole console(std::cout);
        if (std::strcmp(argv[2], "-") == 0) return console.run(std::cin);
        return console.runFile(argv[2], std::cerr);
    }
    if (argc != 1) {
        std::cerr << "usage: tilmora [--script FILE|-]\n";
        return DesktopConsole::exitError;
    }
    platform::Runtime::start(platform::Runtime::Mode::real);
    DesktopConsole::Options options;
    options.clock = DesktopConsole::Clock::realTime;
    options.echoCommands = false;
    options.prompt = true;
    DesktopConsole console(std::cout, options);
    console.useDefaultDesktop();
    std::cout
        << "Tilmora desktop console on the default desktop. Type \"help\" for the commands, \"quit\" to "
           "leave.\n";
    const int status = console.run(std::cin);
    std::cout << "\n";
    return status;
}
