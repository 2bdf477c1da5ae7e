// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReads.h"

#include "X11Connection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/record.h>
#include <xcb/res.h>
// Replies to the recording, as they come: no waiting for them.
#include <xcb/xcbext.h>

namespace {

using namespace std::chrono_literals;

// Looks at the screen this close together are one: a screenshot tool may read
// it in pieces.
constexpr auto oneLook = 50ms;
// Two looks within this are reading it; none for the quiet time ends it.
constexpr auto lookWindow = 1s;
constexpr auto quiet = 2s;
// What is left of it once the reader has said it stopped (its sharing window
// went, or it closed its connection): a program may hand its reading over to
// a new connection, as a browser does from its picker's preview to the stream.
constexpr auto handOver = 500ms;

// The requests that read the screen, and where they say what and how much.
constexpr std::uint8_t copyArea = 62;
constexpr std::uint8_t getImage = 73;
constexpr std::uint8_t shmGetImage = 4;
constexpr std::uint8_t compositeRedirectWindow = 1;
constexpr std::uint8_t compositeRedirectSubwindows = 2;
// What the RECORD extension passes on: requests, and clients that are gone.
constexpr std::uint8_t fromClient = 1;
constexpr std::uint8_t clientDied = 3;

std::uint16_t word(const std::uint8_t* at) {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
std::uint32_t number(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint8_t majorOpcode(xcb_connection_t* connection, const char* name) {
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(
            connection, xcb_query_extension(connection, std::strlen(name), name), nullptr),
        &std::free);
    return reply && reply->present ? reply->major_opcode : 0;
}

} // namespace

ScreenReads* ScreenReads::shared() {
    xcb_connection_t* const connection = qtX11Connection();
    if (!connection) {
        return nullptr;
    }
    static ScreenReads* const follower = [connection]() -> ScreenReads* {
        return new ScreenReads(connection,
                               *xcb_setup_roots_iterator(xcb_get_setup(connection)).data);
    }();
    return follower;
}

ScreenReads::ScreenReads(xcb_connection_t* connection, const xcb_screen_t& screen)
    : control(connection), root(screen.root),
      screenArea(std::uint64_t(screen.width_in_pixels) * screen.height_in_pixels) {
    const xcb_query_extension_reply_t* record = xcb_get_extension_data(control, &xcb_record_id);
    available = record && record->present;
    changeNotice = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    quietEnd.setSingleShot(true);
    QObject::connect(&quietEnd, &QTimer::timeout, [this] { decide(); });
}

void ScreenReads::follow(bool on) {
    if (on == isFollowing() || (on && !available)) {
        return;
    }
    if (on && !startRecording()) {
        available = false; // and so it stays: the server will not change its mind
    } else if (!on) {
        stop();
    }
}

bool ScreenReads::startRecording() {
    data = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(data)) {
        xcb_disconnect(data);
        data = nullptr;
        return false;
    }
    shmOpcode = majorOpcode(control, "MIT-SHM");
    compositeOpcode = majorOpcode(control, "Composite");
    // Only the requests that read the screen are recorded: the server checks
    // every request of every client against these ranges, and sends on only
    // what falls in them.
    xcb_record_range_t ranges[4] = {};
    ranges[0].core_requests = {copyArea, copyArea};
    // A reader that closes its connection has stopped: no quiet time to wait.
    // The server tells of it with what it sends next, to anyone.
    ranges[0].client_died = 1;
    ranges[1].core_requests = {getImage, getImage};
    int rangeCount = 2;
    if (shmOpcode) {
        ranges[rangeCount++].ext_requests = {{shmOpcode, shmOpcode}, {shmGetImage, shmGetImage}};
    }
    if (compositeOpcode) {
        ranges[rangeCount++].ext_requests = {
            {compositeOpcode, compositeOpcode},
            {compositeRedirectWindow, compositeRedirectSubwindows}};
    }
    const xcb_record_client_spec_t everyone = XCB_RECORD_CS_ALL_CLIENTS;
    context = xcb_generate_id(control);
    xcb_generic_error_t* refused = xcb_request_check(
        control,
        xcb_record_create_context_checked(control, context, 0, 1, rangeCount, &everyone, ranges));
    if (refused) {
        std::free(refused);
        xcb_disconnect(data);
        data = nullptr;
        return false;
    }
    recording = xcb_record_enable_context(data, context).sequence;
    xcb_flush(data);
    recorded =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(data), QSocketNotifier::Read);
    QObject::connect(recorded.get(), &QSocketNotifier::activated, [this] { takeRecorded(); });
    return true;
}

void ScreenReads::stop() {
    recorded.reset();
    // Freeing the context ends the recording; the server forgets it with its connection.
    xcb_record_free_context(control, context);
    xcb_flush(control);
    xcb_disconnect(data);
    data = nullptr;
    readers.clear();
    quietEnd.stop();
    decide();
}

bool ScreenReads::isAnyReading() {
    std::uint64_t changes = 0;
    [[maybe_unused]] const auto taken = ::read(changeNotice, &changes, sizeof changes);
    return anyReading;
}

void ScreenReads::takeRecorded() {
    const std::uint32_t idMask = xcb_get_setup(control)->resource_id_mask;
    const std::uint32_t ownClients[] = {xcb_get_setup(control)->resource_id_base,
                                        xcb_get_setup(data)->resource_id_base};
    void* answer = nullptr;
    xcb_generic_error_t* error = nullptr;
    while (xcb_poll_for_reply(data, recording, &answer, &error) && answer) {
        const auto* reply = static_cast<xcb_record_enable_context_reply_t*>(answer);
        const std::uint32_t client = reply->xid_base;
        const std::uint8_t* request = xcb_record_enable_context_data(reply);
        const std::uint8_t* end = request + xcb_record_enable_context_data_length(reply);
        const bool other = std::ranges::find(ownClients, client) == std::end(ownClients);
        const auto now = Clock::now();
        if (reply->category == clientDied) {
            const auto gone = readers.find(client);
            if (gone != readers.end() && !(gone->second.reading && endSoon(gone->second, now))) {
                readers.erase(gone);
            }
        }
        // Several requests may come in one reply, in the client's byte order:
        // the same as ours for every local client.
        while (reply->category == fromClient && !reply->client_swapped && other &&
               request + 8 <= end) {
            // A length of zero is followed by a longer one: a big request,
            // which is no read.
            const bool big = word(request + 2) == 0;
            const std::uint32_t words = big ? number(request + 4) : word(request + 2);
            const std::uint8_t* next = request + std::max<std::uint32_t>(words, 1) * 4;
            if (next > end) {
                break;
            }
            const auto holds = [&](std::ptrdiff_t size) {
                return !big && next - request >= size;
            };
            const std::uint8_t kind = request[0];
            std::uint64_t area = 0;
            if ((kind == getImage || kind == shmOpcode) && holds(16) &&
                number(request + 4) == root) {
                // GetImage, MIT-SHM's too: drawable, x, y, width, height.
                area = std::uint64_t(word(request + 12)) * word(request + 14);
            } else if (kind == copyArea && holds(28) && number(request + 4) == root) {
                // Source, destination, gc, source x and y, destination x and y, size.
                area = std::uint64_t(word(request + 24)) * word(request + 26);
            } else if (kind == compositeOpcode && holds(8) &&
                       (number(request + 4) & ~idMask) != client) {
                // Another's windows redirected: every frame of them is readable.
                area = screenArea;
            }
            noteRead(client, area, now);
            request = next;
        }
        std::free(answer);
    }
    std::free(error);
    if (xcb_connection_has_error(data)) {
        // The server went away, or ended the recording: nothing more to follow.
        stop();
        available = false;
        return;
    }
    decide();
}

void ScreenReads::noteRead(std::uint32_t client, std::uint64_t area, Clock::time_point at) {
    if (!area) {
        return;
    }
    Reader& reader = readers[client];
    // A look starts anew once the last one has read the whole screen: a
    // recorder reads frame after frame, sooner than a look lasts.
    if (at - reader.lookStart >= oneLook || reader.lookArea >= screenArea) {
        reader.lookStart = at;
        reader.lookArea = 0;
    }
    const bool large = reader.lookArea * 4 >= screenArea;
    reader.lookArea += area;
    reader.last = at;
    // A look counts once it has read a large part of the screen: a colour
    // picker or a magnifier reads a small part, again and again.
    if (large || reader.lookArea * 4 < screenArea) {
        return;
    }
    reader.looks.push_back(reader.lookStart);
    while (at - reader.looks.front() > lookWindow) {
        reader.looks.pop_front();
    }
    if (!reader.reading && reader.looks.size() >= 2) {
        reader.reading = true;
        reader.process = processOf(client);
    }
}

std::uint32_t ScreenReads::processOf(std::uint32_t client) const {
    xcb_res_client_id_spec_t spec{client, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    std::unique_ptr<xcb_res_query_client_ids_reply_t, decltype(&std::free)> reply(
        xcb_res_query_client_ids_reply(control, xcb_res_query_client_ids(control, 1, &spec),
                                       nullptr),
        &std::free);
    if (!reply) {
        return 0; // no X-Resource: the reader's quiet time ends it
    }
    const auto ids = xcb_res_query_client_ids_ids_iterator(reply.get());
    return ids.rem && xcb_res_client_id_value_value_length(ids.data) == 1
               ? *xcb_res_client_id_value_value(ids.data)
               : 0;
}

bool ScreenReads::endSoon(Reader& reader, Clock::time_point now) {
    // What is left of the quiet time is cut short, not ended: a window may go
    // and come back as it is framed, while its program goes on reading.
    const auto soon = now - quiet + handOver;
    if (reader.last <= soon) {
        return false;
    }
    reader.last = soon;
    quietEnd.stop();
    return true;
}

void ScreenReads::stopCounting(std::uint32_t process) {
    const auto now = Clock::now();
    bool shortened = false;
    for (auto& [client, reader] : readers) {
        shortened |= reader.process == process && endSoon(reader, now);
    }
    if (shortened) {
        decide();
    }
}

void ScreenReads::decide() {
    const auto now = Clock::now();
    std::optional<Clock::time_point> nextQuietEnd;
    std::erase_if(readers, [&](auto& entry) {
        const Reader& reader = entry.second;
        if (now - reader.last >= (reader.reading ? quiet : lookWindow)) {
            return true;
        }
        if (reader.reading) {
            nextQuietEnd =
                std::min(nextQuietEnd.value_or(reader.last + quiet), reader.last + quiet);
        }
        return false;
    });
    // Woken once a reader may have stopped, not before.
    if (nextQuietEnd && !quietEnd.isActive()) {
        quietEnd.start(std::chrono::ceil<std::chrono::milliseconds>(*nextQuietEnd - now));
    }
    if (nextQuietEnd.has_value() == anyReading) {
        return;
    }
    anyReading = nextQuietEnd.has_value();
    const std::uint64_t change = 1;
    [[maybe_unused]] const auto written = ::write(changeNotice, &change, sizeof change);
}
