// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunningInstanceTitle.h"

#include <cstdint>
#include <cstring>
#include <dbus/dbus.h>
#include <memory>
#include <string_view>

namespace {

constexpr int answerTimeout = 5000; // milliseconds
// From org.tallyglow.Tallyglow.xml, as the build reads them.
constexpr const char* serviceName = TALLYGLOW_BUS_NAME;
constexpr const char* servicePath = TALLYGLOW_BUS_PATH;

struct MessageRelease {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageRelease>;

Message askForTitle() {
    Message getAll(dbus_message_new_method_call(serviceName, servicePath, DBUS_INTERFACE_PROPERTIES,
                                                "GetAll"));
    const char* interface = serviceName;
    dbus_message_append_args(getAll.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_INVALID);
    // Asking must not start a Tallyglow where the bus could.
    dbus_message_set_auto_start(getAll.get(), false);
    return getAll;
}

// Title and Masked from the answer to GetAll, an a{sv}.
std::optional<PublishedTitle> titleInAnswer(DBusMessage* answer) {
    DBusMessageIter arguments;
    DBusMessageIter entries;
    if (dbus_message_get_type(answer) != DBUS_MESSAGE_TYPE_METHOD_RETURN ||
        !dbus_message_iter_init(answer, &arguments) ||
        dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_ARRAY) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    dbus_bool_t masked = false;
    for (dbus_message_iter_recurse(&arguments, &entries);
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter entry;
        DBusMessageIter value;
        const char* name = nullptr;
        dbus_message_iter_recurse(&entries, &entry);
        if (dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_STRING) {
            continue;
        }
        dbus_message_iter_get_basic(&entry, &name);
        dbus_message_iter_next(&entry);
        if (dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_VARIANT) {
            continue;
        }
        dbus_message_iter_recurse(&entry, &value);
        const int type = dbus_message_iter_get_arg_type(&value);
        if (std::strcmp(name, "Title") == 0 && type == DBUS_TYPE_STRING) {
            const char* title = nullptr;
            dbus_message_iter_get_basic(&value, &title);
            text = title;
        } else if (std::strcmp(name, "Masked") == 0 && type == DBUS_TYPE_BOOLEAN) {
            dbus_message_iter_get_basic(&value, &masked);
        }
    }
    if (!text) {
        return std::nullopt; // a Tallyglow that publishes no title
    }
    return PublishedTitle{*text, masked != 0};
}

std::optional<PublishedTitle> titleInChange(DBusMessage* change) {
    const char* text = nullptr;
    dbus_bool_t masked = false;
    if (!dbus_message_get_args(change, nullptr, DBUS_TYPE_STRING, &text, DBUS_TYPE_BOOLEAN, &masked,
                               DBUS_TYPE_INVALID)) {
        return std::nullopt;
    }
    return PublishedTitle{text, masked != 0};
}

// The new owner's name when the message tells that Tallyglow's name changed owner.
std::optional<std::string_view> newOwnerIn(DBusMessage* message) {
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (!dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged") ||
        !dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING,
                               &oldOwner, DBUS_TYPE_STRING, &newOwner, DBUS_TYPE_INVALID) ||
        std::strcmp(name, serviceName) != 0) {
        return std::nullopt;
    }
    return newOwner;
}

} // namespace

RunningInstanceTitle::RunningInstanceTitle() {
    DBusError error;
    dbus_error_init(&error);
    bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    dbus_error_free(&error);
    if (bus) {
        dbus_connection_set_exit_on_disconnect(bus, false);
    }
}

RunningInstanceTitle::~RunningInstanceTitle() {
    if (bus) {
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }
}

std::optional<PublishedTitle> RunningInstanceTitle::read() {
    if (!bus) {
        return std::nullopt;
    }
    DBusError error;
    dbus_error_init(&error);
    const Message answer(
        dbus_connection_send_with_reply_and_block(bus, askForTitle().get(), answerTimeout, &error));
    dbus_error_free(&error);
    return answer ? titleInAnswer(answer.get()) : std::nullopt;
}

void RunningInstanceTitle::follow(const Listener& listener) {
    if (!bus) {
        listener(std::nullopt);
        return;
    }
    // Heard before the first answer, so no change falls between the two.
    const std::string sender = std::string("type='signal',sender='") + serviceName + "'";
    dbus_bus_add_match(bus, (sender + ",path='" + servicePath + "',member='TitleChanged'").c_str(),
                       nullptr);
    dbus_bus_add_match(bus,
                       (std::string("type='signal',sender='" DBUS_SERVICE_DBUS
                                    "',member='NameOwnerChanged',arg0='") +
                        serviceName + "'")
                           .c_str(),
                       nullptr);
    // Messages come in the order they were sent: an answer holds every change
    // heard before it. Only the answer to the latest question counts.
    std::uint32_t question = 0;
    const auto ask = [&] {
        dbus_connection_send(bus, askForTitle().get(), &question);
    };
    ask();
    while (dbus_connection_read_write(bus, -1)) {
        while (const Message message{dbus_connection_pop_message(bus)}) {
            if (dbus_message_is_signal(message.get(), DBUS_INTERFACE_LOCAL, "Disconnected")) {
                return; // a session that ends takes the title with it
            }
            if (dbus_message_is_signal(message.get(), serviceName, "TitleChanged")) {
                if (const auto title = titleInChange(message.get())) {
                    listener(title);
                }
            } else if (const auto newOwner = newOwnerIn(message.get())) {
                if (newOwner->empty()) {
                    question = 0;
                    listener(std::nullopt);
                } else {
                    ask();
                }
            } else if (question != 0 && dbus_message_get_reply_serial(message.get()) == question) {
                question = 0;
                listener(titleInAnswer(message.get()));
            }
        }
    }
}
