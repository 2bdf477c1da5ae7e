// SPDX-License-Identifier: GPL-3.0-or-later
// A prototype for bench/x11-record: follows other clients' reads of the
// screen through the X RECORD extension, as Tallyglow would have to in order
// to see X11 sharers that show no window. It prints a line when a client
// starts reading the screen (at least two looks within a second, a quarter of
// the screen or more in all) and when it has not read for two seconds. Not part
// of the program: the bench measures what following costs the X server and
// this process while the screen is busy and nobody reads it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <poll.h>
#include <xcb/record.h>
#include <xcb/res.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto window = std::chrono::seconds(1);
constexpr auto quiet = std::chrono::seconds(2);
// Reads this close together are one look at the screen: a screenshot tool
// reads it in pieces.
constexpr auto oneLook = std::chrono::milliseconds(50);
constexpr std::uint8_t copyArea = 62;
constexpr std::uint8_t getImage = 73;
constexpr std::uint8_t shmGetImage = 4;
constexpr std::uint8_t compositeRedirectWindow = 1;
constexpr std::uint8_t compositeRedirectSubwindows = 2;

struct Read {
    Clock::time_point at;
    std::uint32_t area;
};

struct Reader {
    std::deque<Read> recent;
    Clock::time_point last;
    bool reading = false;
};

std::uint8_t majorOpcode(xcb_connection_t* connection, const char* name) {
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(
            connection, xcb_query_extension(connection, std::strlen(name), name), nullptr),
        &std::free);
    return reply && reply->present ? reply->major_opcode : 0;
}

std::uint32_t pidOf(xcb_connection_t* connection, std::uint32_t client) {
    xcb_res_client_id_spec_t spec{client, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    std::unique_ptr<xcb_res_query_client_ids_reply_t, decltype(&std::free)> reply(
        xcb_res_query_client_ids_reply(connection, xcb_res_query_client_ids(connection, 1, &spec),
                                       nullptr),
        &std::free);
    if (!reply) {
        return 0;
    }
    auto ids = xcb_res_query_client_ids_ids_iterator(reply.get());
    return ids.rem && xcb_res_client_id_value_value_length(ids.data) == 1
               ? *xcb_res_client_id_value_value(ids.data)
               : 0;
}

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

} // namespace

int main() {
    int screenNumber = 0;
    xcb_connection_t* control = xcb_connect(nullptr, &screenNumber);
    xcb_connection_t* data = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(control) || xcb_connection_has_error(data)) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(control)).data;
    const xcb_window_t root = screen->root;
    const std::uint32_t quarter = screen->width_in_pixels * screen->height_in_pixels / 4;
    const std::uint8_t shm = majorOpcode(control, "MIT-SHM");
    const std::uint8_t composite = majorOpcode(control, "Composite");
    if (!majorOpcode(control, "RECORD")) {
        std::fprintf(stderr, "no RECORD extension\n");
        return 1;
    }

    // Only the requests that read the screen are sent here; the server checks
    // every request of every client against these ranges.
    xcb_record_range_t ranges[4] = {};
    ranges[0].core_requests = {copyArea, copyArea};
    ranges[1].core_requests = {getImage, getImage};
    ranges[2].ext_requests = {{shm, shm}, {shmGetImage, shmGetImage}};
    ranges[3].ext_requests = {{composite, composite},
                              {compositeRedirectWindow, compositeRedirectSubwindows}};
    const int rangeCount = shm ? (composite ? 4 : 3) : 2;
    const xcb_record_client_spec_t everyone = XCB_RECORD_CS_ALL_CLIENTS;
    const xcb_record_context_t context = xcb_generate_id(control);
    if (xcb_generic_error_t* error = xcb_request_check(
            control, xcb_record_create_context_checked(control, context, 0, 1, rangeCount,
                                                       &everyone, ranges))) {
        std::fprintf(stderr, "RECORD refused: error %d\n", error->error_code);
        return 1;
    }
    const std::uint32_t ownBase = xcb_get_setup(control)->resource_id_base;
    const auto cookie = xcb_record_enable_context(data, context);
    xcb_flush(data);
    std::printf("following\n");
    std::fflush(stdout);

    std::map<std::uint32_t, Reader> readers;
    pollfd readable{xcb_get_file_descriptor(data), POLLIN, 0};
    for (;;) {
        void* answer = nullptr;
        xcb_generic_error_t* error = nullptr;
        while (xcb_poll_for_reply(data, cookie.sequence, &answer, &error) && answer) {
            const auto* reply = static_cast<xcb_record_enable_context_reply_t*>(answer);
            const std::uint8_t* request = xcb_record_enable_context_data(reply);
            const std::uint8_t* end = request + xcb_record_enable_context_data_length(reply);
            const auto now = Clock::now();
            while (reply->category == 1 && reply->xid_base != ownBase && request + 4 <= end) {
                const std::uint32_t words =
                    word(request + 2) ? word(request + 2) : number(request + 4);
                std::uint32_t area = 0;
                if (request[0] == getImage || (shm && request[0] == shm)) {
                    // drawable, x, y, width, height
                    if (number(request + 4) == root) {
                        area = std::uint32_t(word(request + 12)) * word(request + 14);
                    }
                } else if (request[0] == copyArea) {
                    // source, destination, gc, source x and y, destination x and y, size
                    if (number(request + 4) == root) {
                        area = std::uint32_t(word(request + 24)) * word(request + 26);
                    }
                } else {
                    area = quarter; // a window redirected: its every frame is readable
                }
                if (area) {
                    Reader& reader = readers[reply->xid_base];
                    if (!reader.recent.empty() && now - reader.last < oneLook) {
                        reader.recent.back().area += area;
                    } else {
                        reader.recent.push_back({now, area});
                    }
                    reader.last = now;
                }
                request += std::max<std::uint32_t>(words, 1) * 4;
            }
            std::free(answer);
        }
        const auto now = Clock::now();
        bool waiting = false;
        for (auto& [client, reader] : readers) {
            while (!reader.recent.empty() && now - reader.recent.front().at > window) {
                reader.recent.pop_front();
            }
            std::uint64_t area = 0;
            for (const Read& read : reader.recent) {
                area += read.area;
            }
            if (!reader.reading && reader.recent.size() >= 2 && area >= quarter) {
                reader.reading = true;
                std::printf("reading: client 0x%x, process %u\n", client, pidOf(control, client));
            } else if (reader.reading && now - reader.last > quiet) {
                reader.reading = false;
                std::printf("stopped: client 0x%x\n", client);
            }
            waiting = waiting || reader.reading || !reader.recent.empty();
        }
        std::fflush(stdout);
        if (xcb_connection_has_error(data)) {
            return 1;
        }
        // Awake only for replies, or while a read is being timed.
        ::poll(&readable, 1, waiting ? 250 : -1);
    }
}
