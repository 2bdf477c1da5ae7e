// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// A change signal without a payload: subscribers are told that a value is
// about to change and read whatever they need themselves.
class ChangeSignal {
public:
    using Subscription = std::size_t;

    Subscription subscribe(std::function<void()> subscriber) {
        subscribers.push_back({nextSubscription, std::move(subscriber)});
        return nextSubscription++;
    }

    void unsubscribe(Subscription subscription) {
        std::erase_if(subscribers, [subscription](const Entry& entry) {
            return entry.subscription == subscription;
        });
    }

    void send() const {
        // A copy, so that a subscriber may subscribe or unsubscribe while it is told.
        const auto current = subscribers;
        for (const auto& entry : current) {
            entry.subscriber();
        }
    }

private:
    struct Entry {
        Subscription subscription;
        std::function<void()> subscriber;
    };
    std::vector<Entry> subscribers;
    Subscription nextSubscription = 1;
};

// A writable reference to one property: reading is a plain read, writing is the
// property's own assignment. Controls hold these to edit a setting two ways.
template <typename Value> struct PropertyReference {
    std::function<Value()> get;
    std::function<void(Value)> set;
};
