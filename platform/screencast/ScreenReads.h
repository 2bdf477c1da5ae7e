// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <xcb/xcb.h>

// On X11, most programs that share or record the screen (meeting programs,
// recorders, ffmpeg) read it with X11 calls and show no window. The X server's
// RECORD extension tells of every client's screen reads; this says when another
// client reads the whole screen or a large part of it again and again (at
// least two looks within a second), until two seconds after its last read, or
// half a second after it closes its connection. A single look, as a
// screenshot takes, is not reading. Following costs the X server a little for
// every request it checks, so it runs only while asked to, on a connection of
// its own; the program's own requests do not count.
class ScreenReads final {
public:
    // The one follower of the session, not yet following. Null outside an X11
    // session and on any thread but the one that handles the X events.
    static ScreenReads* shared();

    // Whether the X server lets reads be followed: it has RECORD, and has not
    // refused it or failed while following.
    bool isAvailable() const { return available; }
    // Starts or stops following; stopping ends the recording and closes its
    // connection. Quietly nothing where reads cannot be followed.
    void follow(bool on);
    bool isFollowing() const { return data != nullptr; }

    // Whether another client is reading the screen now. Takes in the change notice.
    bool isAnyReading();
    // A process that has said it stopped sharing (its sharing window went):
    // its reads stop counting a quarter of a second later, unless it reads
    // on, without waiting for their quiet time.
    void stopCounting(std::uint32_t process);
    // Readable when the answer has changed.
    int changeDescriptor() const { return changeNotice; }

private:
    using Clock = std::chrono::steady_clock;
    struct Reader {
        // When the large looks of the last second began.
        std::deque<Clock::time_point> looks;
        // The current look, which may come in pieces, and its last piece.
        Clock::time_point lookStart;
        std::uint64_t lookArea = 0;
        Clock::time_point last;
        bool reading = false;
        // Its process, from the X server (X-Resource), once it reads.
        std::uint32_t process = 0;
    };

    ScreenReads(xcb_connection_t* connection, const xcb_screen_t& screen);

    bool startRecording();
    void stop();
    void takeRecorded();
    void noteRead(std::uint32_t client, std::uint64_t area, Clock::time_point at);
    std::uint32_t processOf(std::uint32_t client) const;
    // Cuts what is left of a reader's quiet time to the hand-over; false when
    // less was left.
    bool endSoon(Reader& reader, Clock::time_point now);
    void decide();

    // Qt's connection: the recording is made and ended on it.
    xcb_connection_t* control;
    xcb_window_t root;
    std::uint64_t screenArea;
    bool available = false;
    // The connection the recorded requests come in on, while following.
    xcb_connection_t* data = nullptr;
    std::uint32_t context = 0;
    unsigned int recording = 0;
    std::uint8_t shmOpcode = 0;
    std::uint8_t compositeOpcode = 0;
    std::unique_ptr<QSocketNotifier> recorded;
    // Set for the end of the nearest reader's two quiet seconds.
    QTimer quietEnd;
    std::map<std::uint32_t, Reader> readers;
    bool anyReading = false;
    int changeNotice = -1;
};
