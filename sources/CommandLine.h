// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the command line asks of `tallyglow`. With no options it is the panel
// item; the options print something and end, without the desktop or the
// settings, so they are read before anything of the application is made.
class CommandLine {
public:
    CommandLine(int argumentCount, const char* const* arguments);

    // Does what the options ask and answers the exit status: 0 when done, 1
    // when --title finds no Tallyglow running (but for LXQt's form), 2 for a
    // command line we cannot read. Loads no toolkit: panels run it every second.
    int run() const;

    // How --title prints the title.
    enum class Format { plain, waybar, genmon, lxqt };

private:
    enum class Request { panelItem, help, version, title, invalid };

    int printTitle() const;

    Request request = Request::panelItem;
    bool follow = false;
    Format format = Format::plain;
    // Why the command line could not be read.
    std::string problem;
};
