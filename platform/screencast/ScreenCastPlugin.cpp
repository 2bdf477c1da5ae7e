// SPDX-License-Identifier: GPL-3.0-or-later
// The screen-cast plug-in: answers whether another process is capturing the
// screen right now, from the nodes in PipeWire's registry. Every Wayland
// screen cast is a PipeWire video node, and counts while it is read. A new
// cast counts from the moment its node appears, tens of milliseconds before
// its first frame, so that the title is masked before any frame can show it;
// one that nobody reads soon stops counting. Portals leave a cast's node
// behind after its reader is gone, so a node once read counts only while read.
//
// Single-threaded and never blocking for long: each call handles what the
// daemon has sent since the last one and answers from the nodes tracked so
// far. Only right after connecting does a call wait, briefly, for the daemon
// to tell what exists: a cast may already be running when the program starts.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <pipewire/impl-module.h>
#include <pipewire/pipewire.h>
#include <spa/utils/dict.h>

namespace {

// A daemon that is missing or went away is looked for again at most this often.
constexpr std::chrono::seconds reconnectInterval{3};
// Events handled per call at most, so that a flood cannot hold the caller up.
constexpr int iterationsPerCall = 256;
// How long a call that has just connected may wait for the daemon's answer. A
// local daemon answers within milliseconds; a hung one must not freeze the start.
constexpr std::chrono::milliseconds settleLimit{200};
// How long a new cast counts before anyone reads it. A sharing program reads
// its cast well within this.
constexpr std::chrono::seconds newCastGrace{3};

bool equals(const char* text, const char* expected) {
    return text && std::strcmp(text, expected) == 0;
}

// Screen casts: mutter, KWin and niri publish them as output streams, the
// wlroots and Hyprland portals as video sources. Cameras are video sources too,
// but they carry a device or say what they are.
bool hasScreenCastClass(const spa_dict* properties) {
    const char* mediaClass = spa_dict_lookup(properties, PW_KEY_MEDIA_CLASS);
    return equals(mediaClass, "Stream/Output/Video") || equals(mediaClass, "Video/Source");
}

bool isScreenCast(const spa_dict* properties) {
    return hasScreenCastClass(properties) &&
           !equals(spa_dict_lookup(properties, PW_KEY_MEDIA_ROLE), "Camera") &&
           !spa_dict_lookup(properties, PW_KEY_DEVICE_ID);
}

struct TrackedNode {
    pw_proxy* proxy = nullptr;
    spa_hook listener{};
    bool screenCast = false;
    // Its full properties have arrived; until then it may still turn out to be a camera.
    bool described = false;
    bool running = false;
    bool hasRun = false;
    // Appeared while we were watching, rather than found when we connected.
    bool isNew = false;
    std::chrono::steady_clock::time_point appeared;

    bool counts(std::chrono::steady_clock::time_point now) const {
        if (!screenCast || !described) {
            return false;
        }
        return running || (isNew && !hasRun && now - appeared < newCastGrace);
    }
};

class ScreenCasts {
public:
    ScreenCasts() {
        pw_init(nullptr, nullptr);
        loop = pw_loop_new(nullptr);
        if (!loop) {
            return;
        }
        pw_loop_enter(loop);
        // Only what reading the registry takes: the client configuration would
        // also load the modules for making nodes and devices, a megabyte that
        // stays all day. PipeWire warns that no module and no realtime
        // scheduling were asked for; neither is needed, and the user's log
        // stays quiet unless they ask PipeWire to speak.
        if (!std::getenv("PIPEWIRE_DEBUG")) {
            pw_log_set_level(SPA_LOG_LEVEL_ERROR);
        }
        context = pw_context_new(loop, pw_properties_new(PW_KEY_CONFIG_NAME, "null", nullptr), 0);
        if (context && !pw_context_load_module(context, "libpipewire-module-protocol-native",
                                               nullptr, nullptr)) {
            pw_context_destroy(context);
            context = nullptr;
        }
    }

    bool isScreenBeingCast() {
        if (!context) {
            return false;
        }
        if (!core && connectIfDue()) {
            settle();
        }
        for (int iteration = 0; core && iteration < iterationsPerCall; ++iteration) {
            if (pw_loop_iterate(loop, 0) <= 0) {
                break;
            }
        }
        if (disconnected) {
            disconnect();
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        for (const auto& [id, node] : nodes) {
            if (node->counts(now)) {
                return true;
            }
        }
        return false;
    }

    bool isConnected() const { return core != nullptr; }

    // Readable whenever the daemon has sent something: the program watches it
    // to answer again at once instead of at its next refresh.
    int eventDescriptor() const { return loop ? pw_loop_get_fd(loop) : -1; }

private:
    bool connectIfDue() {
        const auto now = std::chrono::steady_clock::now();
        if (hasAttempted && now - lastAttempt < reconnectInterval) {
            return false;
        }
        hasAttempted = true;
        lastAttempt = now;
        core = pw_context_connect(context, nullptr, 0);
        if (!core) {
            return false;
        }
        disconnected = false;
        static const pw_core_events coreEvents = [] {
            pw_core_events events{};
            events.version = PW_VERSION_CORE_EVENTS;
            events.done = onCoreDone;
            events.error = onCoreError;
            return events;
        }();
        pw_core_add_listener(core, &coreListener, &coreEvents, this);
        registry = pw_core_get_registry(core, PW_VERSION_REGISTRY, 0);
        static const pw_registry_events registryEvents = [] {
            pw_registry_events events{};
            events.version = PW_VERSION_REGISTRY_EVENTS;
            events.global = onGlobal;
            events.global_remove = onGlobalRemove;
            return events;
        }();
        pw_registry_add_listener(registry, &registryListener, &registryEvents, this);
        return true;
    }

    // Two round trips: the first brings the registry's nodes, which are bound
    // as they arrive; the second, their full properties and states.
    void settle() {
        settling = true;
        const auto deadline = std::chrono::steady_clock::now() + settleLimit;
        if (awaitSync(deadline)) {
            awaitSync(deadline);
        }
        settling = false;
    }

    // Asks the daemon for a sync and handles what it sends until the answer
    // comes; false when it does not come in time or the daemon went away.
    bool awaitSync(std::chrono::steady_clock::time_point deadline) {
        if (!core || disconnected) {
            return false;
        }
        awaitedSync = pw_core_sync(core, PW_ID_CORE, 0);
        synced = false;
        while (!synced && !disconnected) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pw_loop_iterate(loop, static_cast<int>(left.count()));
        }
        return synced;
    }

    static void onCoreDone(void* data, uint32_t id, int sequence) {
        auto* self = static_cast<ScreenCasts*>(data);
        if (id == PW_ID_CORE && sequence == self->awaitedSync) {
            self->synced = true;
        }
    }

    void disconnect() {
        for (auto& [id, node] : nodes) {
            spa_hook_remove(&node->listener);
            pw_proxy_destroy(node->proxy);
        }
        nodes.clear();
        spa_hook_remove(&registryListener);
        pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry));
        registry = nullptr;
        spa_hook_remove(&coreListener);
        pw_core_disconnect(core);
        core = nullptr;
        disconnected = false;
    }

    static void onCoreError(void* data, uint32_t id, int, int, const char*) {
        // The daemon is gone (or refused us): start afresh on a later call.
        if (id == PW_ID_CORE) {
            static_cast<ScreenCasts*>(data)->disconnected = true;
        }
    }

    static void onGlobal(void* data, uint32_t id, uint32_t, const char* type, uint32_t,
                         const spa_dict* properties) {
        auto* self = static_cast<ScreenCasts*>(data);
        // The registry's properties already tell video nodes apart; only
        // those are bound, for their full properties.
        if (!equals(type, PW_TYPE_INTERFACE_Node) || !properties ||
            !hasScreenCastClass(properties)) {
            return;
        }
        auto* proxy = static_cast<pw_proxy*>(
            pw_registry_bind(self->registry, id, PW_TYPE_INTERFACE_Node, PW_VERSION_NODE, 0));
        if (!proxy) {
            return;
        }
        auto node = std::make_unique<TrackedNode>();
        node->proxy = proxy;
        node->screenCast = isScreenCast(properties);
        node->isNew = !self->settling;
        node->appeared = std::chrono::steady_clock::now();
        static const pw_node_events nodeEvents = [] {
            pw_node_events events{};
            events.version = PW_VERSION_NODE_EVENTS;
            events.info = onNodeInfo;
            return events;
        }();
        pw_node_add_listener(reinterpret_cast<pw_node*>(proxy), &node->listener, &nodeEvents,
                             node.get());
        self->forget(id);
        self->nodes.emplace(id, std::move(node));
    }

    static void onGlobalRemove(void* data, uint32_t id) {
        static_cast<ScreenCasts*>(data)->forget(id);
    }

    static void onNodeInfo(void* data, const pw_node_info* info) {
        auto* node = static_cast<TrackedNode*>(data);
        if ((info->change_mask & PW_NODE_CHANGE_MASK_PROPS) && info->props) {
            node->screenCast = isScreenCast(info->props);
            node->described = true;
        }
        if (info->change_mask & PW_NODE_CHANGE_MASK_STATE) {
            node->running = info->state == PW_NODE_STATE_RUNNING;
            node->hasRun = node->hasRun || node->running;
        }
    }

    void forget(uint32_t id) {
        const auto found = nodes.find(id);
        if (found == nodes.end()) {
            return;
        }
        spa_hook_remove(&found->second->listener);
        pw_proxy_destroy(found->second->proxy);
        nodes.erase(found);
    }

    pw_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_registry* registry = nullptr;
    spa_hook coreListener{};
    spa_hook registryListener{};
    std::map<uint32_t, std::unique_ptr<TrackedNode>> nodes;
    bool disconnected = false;
    int awaitedSync = 0;
    bool synced = false;
    // What arrives while settling existed before we connected.
    bool settling = false;
    bool hasAttempted = false;
    std::chrono::steady_clock::time_point lastAttempt;
};

} // namespace

namespace {

// Lives as long as the process; the program never unloads the plug-in.
ScreenCasts& screenCasts() {
    static ScreenCasts* const watch = new ScreenCasts();
    return *watch;
}

} // namespace

// The plug-in's entry points.
extern "C" __attribute__((visibility("default"))) bool tallyglowIsScreenBeingCast() {
    return screenCasts().isScreenBeingCast();
}

extern "C" __attribute__((visibility("default"))) int tallyglowScreenCastDescriptor() {
    return screenCasts().eventDescriptor();
}

// Whether the last query reached a PipeWire daemon.
extern "C" __attribute__((visibility("default"))) bool tallyglowIsConnectedToPipeWire() {
    return screenCasts().isConnected();
}
