// SPDX-License-Identifier: GPL-3.0-or-later
// A video node offered the way compositors and screen-cast portals offer a
// cast: it sends frames while someone reads it, and stays, idle, when its
// reader goes, until it is killed.
//
//     cast-source NODE-NAME MEDIA-CLASS [KEY=VALUE...]
//
// The extra node properties make it look like a camera (media.role=Camera,
// device.id=...) for the tests that need one.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <string>

namespace {

constexpr unsigned width = 320;
constexpr unsigned height = 240;
constexpr unsigned bytesPerPixel = 4;

struct Cast {
    pw_stream* stream = nullptr;
};

// Fills the next free buffer with a grey frame whenever the graph asks.
void sendFrame(void* data) {
    pw_stream* stream = static_cast<Cast*>(data)->stream;
    pw_buffer* buffer = pw_stream_dequeue_buffer(stream);
    if (!buffer) {
        return;
    }
    spa_data& plane = buffer->buffer->datas[0];
    const unsigned size = std::min(plane.maxsize, width * height * bytesPerPixel);
    if (plane.data) {
        std::memset(plane.data, 0x80, size);
    }
    plane.chunk->offset = 0;
    plane.chunk->stride = width * bytesPerPixel;
    plane.chunk->size = size;
    pw_stream_queue_buffer(stream, buffer);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s NODE-NAME MEDIA-CLASS [KEY=VALUE...]\n", argv[0]);
        return 2;
    }
    pw_init(&argc, &argv);
    pw_main_loop* loop = pw_main_loop_new(nullptr);
    pw_properties* properties =
        pw_properties_new(PW_KEY_NODE_NAME, argv[1], PW_KEY_MEDIA_CLASS, argv[2], nullptr);
    for (int index = 3; index < argc; ++index) {
        const std::string property = argv[index];
        const auto equals = property.find('=');
        pw_properties_set(properties, property.substr(0, equals).c_str(),
                          equals == std::string::npos ? "" : property.c_str() + equals + 1);
    }

    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.process = sendFrame;
    Cast cast;
    cast.stream =
        pw_stream_new_simple(pw_main_loop_get_loop(loop), argv[1], properties, &events, &cast);
    if (!cast.stream) {
        std::perror("cast-source: cannot create the stream");
        return 1;
    }

    spa_video_info_raw format{};
    format.format = SPA_VIDEO_FORMAT_BGRx;
    format.size = spa_rectangle{width, height};
    format.framerate = spa_fraction{30, 1};
    unsigned char podMemory[1024];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, podMemory, sizeof podMemory);
    const spa_pod* formats[] = {
        spa_format_video_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
    // Not linked to anything by the session manager: readers ask for it by name.
    if (pw_stream_connect(cast.stream, PW_DIRECTION_OUTPUT, PW_ID_ANY, PW_STREAM_FLAG_MAP_BUFFERS,
                          formats, 1) < 0) {
        std::fprintf(stderr, "cast-source: cannot connect to PipeWire\n");
        return 1;
    }
    pw_main_loop_run(loop);
    return 0;
}
