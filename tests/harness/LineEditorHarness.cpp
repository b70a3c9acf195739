// The console's line editor alone on the terminal, without the program and without the
// sanitizers, so that valgrind can watch libedit edit what is typed (valgrind cannot run a
// sanitized program). It answers each line with "line: N bytes" and, for a short line, "text: "
// and the line; "history" saves the history to text and reads it back; "quit" or the end of the
// input ends it. Exit 0.
#include "console/LineEditor.hpp"

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include <poll.h>
#include <unistd.h>

int main() {
    std::setlocale(LC_ALL, "");
    tilmora::LineEditor editor({.prompt = "harness> ",
                                .completions = {"history", "quit", "show", "shot"},
                                // After the first word: a word and two quoted titles.
                                .completer = [](const std::vector<std::string>&) -> std::vector<std::string> {
                                    return {"windows", "\"Right Half\"", "\"Right \u00d7 Edge\""};
                                },
                                .maxLineBytes = 64 * 1024,
                                .historyLines = 1000,
                                .wakeDescriptor = -1});
    editor.start();
    for (;;) {
        switch (editor.feed()) {
        case tilmora::LineEditor::Step::line: {
            editor.stop();
            const std::string line = editor.takeLine();
            std::printf("line: %zu bytes\n", line.size());
            if (line.size() <= 80) std::printf("text: %s\n", line.c_str());
            // Tab leaves a space after a completed word.
            if (line.starts_with("quit")) return 0;
            if (line.starts_with("history")) {
                const std::string text = editor.historyText(16u * 1024 * 1024);
                std::printf("history: %zu bytes, read back: %s\n", text.size(),
                            editor.loadHistory(text) ? "yes" : "no");
            }
            std::fflush(stdout);
            editor.start();
            break;
        }
        case tilmora::LineEditor::Step::tooLong:
            std::printf("too long\n");
            std::fflush(stdout);
            break;
        case tilmora::LineEditor::Step::end:
            editor.stop();
            std::printf("end\n");
            return 0;
        case tilmora::LineEditor::Step::waiting: {
            pollfd input{STDIN_FILENO, POLLIN, 0};
            ::poll(&input, 1, -1);
            break;
        }
        }
    }
}
