// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "RunningInstanceTitle.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

// Standard output as it is, without the stream library, whose start-up every
// run would pay.
void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

const char* const helpText =
    "Usage: tallyglow [--title [--follow] [--format FORMAT]]\n"
    "Shows in the desktop's panel how much you have earned so far today.\n"
    "With no options, starts Tallyglow; when it already runs, opens its settings.\n"
    "\n"
    "      --title          print the running Tallyglow's title, as its panel item\n"
    "                       shows it (masked while it is), and exit\n"
    "      --follow         with --title: print a line each time the title changes,\n"
    "                       and an empty line while no Tallyglow runs, until ended\n"
    "      --format FORMAT  with --title: plain (the default), waybar (JSON lines for\n"
    "                       waybar's custom module), genmon (XFCE's generic monitor)\n"
    "                       or lxqt (plain, and nothing while no Tallyglow runs, for\n"
    "                       LXQt's Custom Command)\n"
    "  -h, --help           print this help and exit\n"
    "      --version        print the version and exit\n"
    "\n"
    "Exit status: 0 when done, 1 when --title finds no Tallyglow running in this\n"
    "session (but with --format lxqt) or a start cannot reach the one running,\n"
    "2 for options it cannot read.\n";

// For waybar's JSON: a string literal.
std::string jsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char character : text) {
        switch (character) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(character) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", character);
                quoted += escaped;
            } else {
                quoted += character;
            }
        }
    }
    return quoted + '"';
}

// waybar and XFCE's generic monitor both read their text as Pango markup.
std::string markupText(std::string_view text) {
    std::string escaped;
    for (const char character : text) {
        switch (character) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

// One line of output for the title; empty while no Tallyglow runs.
std::string lineFor(CommandLine::Format format, const std::optional<PublishedTitle>& title) {
    if (!title) {
        return {};
    }
    const std::string toolTip = title->masked ? "Earned today: hidden" : "Earned today";
    switch (format) {
    case CommandLine::Format::plain:
    case CommandLine::Format::lxqt:
        return title->text;
    case CommandLine::Format::waybar:
        return "{\"text\":" + jsonString(markupText(title->text)) +
               ",\"tooltip\":" + jsonString(toolTip) +
               ",\"class\":" + jsonString(title->masked ? "masked" : "shown") + "}";
    case CommandLine::Format::genmon:
        return "<txt>" + markupText(title->text) + "</txt><tool>" + markupText(toolTip) + "</tool>";
    }
    return {};
}

std::optional<CommandLine::Format> formatNamed(std::string_view name) {
    if (name == "plain") {
        return CommandLine::Format::plain;
    }
    if (name == "waybar") {
        return CommandLine::Format::waybar;
    }
    if (name == "genmon") {
        return CommandLine::Format::genmon;
    }
    if (name == "lxqt") {
        return CommandLine::Format::lxqt;
    }
    return std::nullopt;
}

} // namespace

CommandLine::CommandLine(int argumentCount, const char* const* arguments) {
    bool help = false;
    bool version = false;
    bool title = false;
    bool formatGiven = false;
    for (int index = 1; index < argumentCount; ++index) {
        const std::string_view argument = arguments[index];
        if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--title") {
            title = true;
        } else if (argument == "--follow") {
            follow = true;
        } else if (argument == "--format" || argument.starts_with("--format=")) {
            std::string_view name;
            if (argument != "--format") {
                name = argument.substr(argument.find('=') + 1);
            } else if (index + 1 < argumentCount) {
                name = arguments[++index];
            } else {
                problem = "--format needs one of plain, waybar, genmon, lxqt";
                break;
            }
            const auto named = formatNamed(name);
            if (!named) {
                problem =
                    "unknown format '" + std::string(name) + "' (plain, waybar, genmon or lxqt)";
                break;
            }
            format = *named;
            formatGiven = true;
        } else {
            problem = "unknown option '" + std::string(argument) + "'";
            break;
        }
    }
    if (problem.empty() && (follow || formatGiven) && !title) {
        problem = "--follow and --format go with --title";
    }
    if (!problem.empty()) {
        request = Request::invalid;
    } else if (help) {
        request = Request::help;
    } else if (version) {
        request = Request::version;
    } else if (title) {
        request = Request::title;
    }
}

int CommandLine::run() const {
    switch (request) {
    case Request::panelItem:
        return 0;
    case Request::help:
        std::fputs(helpText, stdout);
        return 0;
    case Request::version:
        std::fputs("tallyglow " TALLYGLOW_VERSION "\n", stdout);
        return 0;
    case Request::title:
        return printTitle();
    case Request::invalid:
        std::fprintf(stderr, "tallyglow: %s (see tallyglow --help)\n", problem.c_str());
        return 2;
    }
    return 2;
}

int CommandLine::printTitle() const {
    RunningInstanceTitle title;

    if (!follow) {
        const std::optional<PublishedTitle> now = title.read();
        if (!now) {
            // LXQt's Custom Command shows "Error" for a failed command: an
            // empty text hides it instead while no Tallyglow runs.
            if (format == Format::lxqt) {
                std::fputs("\n", stdout);
                return 0;
            }
            // XFCE's generic monitor draws standard error in the panel when standard
            // output is empty: an empty text keeps the message out of it.
            if (format == Format::genmon) {
                std::fputs("<txt></txt><tool>Tallyglow is not running</tool>\n", stdout);
            }
            std::fputs("tallyglow: no Tallyglow is running in this session\n", stderr);
            return 1;
        }
        printLine(lineFor(format, now));
        return 0;
    }

    if (!title.hasBus()) {
        std::fputs("tallyglow: no session bus to follow the title on\n", stderr);
        return 1;
    }
    std::optional<std::string> printed;
    title.follow([this, &printed](const std::optional<PublishedTitle>& now) {
        const std::string line = lineFor(format, now);
        if (line == printed) {
            return;
        }
        printed = line;
        // At once: a panel reads the line as soon as it ends.
        printLine(line);
        std::fflush(stdout);
    });
    return 0;
}

// The options, from the library that `tallyglow` loads only to answer them.
extern "C" __attribute__((visibility("default"))) int tallyglowRunCommandLine(int argumentCount,
                                                                              char** arguments) {
    return CommandLine(argumentCount, arguments).run();
}
