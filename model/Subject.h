// SPDX-License-Identifier: GPL-3.0-or-later
// A change stream: subscribers receive every value sent after they subscribed, synchronously on
// the sending thread. Subscriptions end when their handle is destroyed, so a subscriber that goes
// away can never be called.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

namespace orvane::model {

template <typename T> class Subject {
    struct Handlers {
        std::map<std::uint64_t, std::shared_ptr<std::function<void(const T&)>>> byId;
        std::uint64_t nextId = 0;
    };

public:
    // Move-only handle; destroying or resetting it unsubscribes.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept
            : m_handlers(std::move(other.m_handlers)), m_id(other.m_id)
        {
            other.m_handlers.reset();
        }
        Subscription& operator=(Subscription&& other) noexcept
        {
            if (this != &other) {
                reset();
                m_handlers = std::move(other.m_handlers);
                m_id = other.m_id;
                other.m_handlers.reset();
            }
            return *this;
        }
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription() { reset(); }

        void reset()
        {
            if (auto handlers = m_handlers.lock())
                handlers->byId.erase(m_id);
            m_handlers.reset();
        }

    private:
        friend class Subject;
        Subscription(std::weak_ptr<Handlers> handlers, std::uint64_t id)
            : m_handlers(std::move(handlers)), m_id(id)
        {
        }
        std::weak_ptr<Handlers> m_handlers;
        std::uint64_t m_id = 0;
    };

    Subject() = default;
    // Subscriptions point at this subject's handlers, so it stays where it was made.
    Subject(const Subject&) = delete;
    Subject& operator=(const Subject&) = delete;

    [[nodiscard]] Subscription subscribe(std::function<void(const T&)> handler)
    {
        const std::uint64_t id = m_handlers->nextId++;
        m_handlers->byId.emplace(
            id, std::make_shared<std::function<void(const T&)>>(std::move(handler)));
        return Subscription(m_handlers, id);
    }

    // Calls the subscribers in subscription order. A handler may subscribe or unsubscribe while
    // it runs; one that was unsubscribed meanwhile is not called.
    void send(const T& value)
    {
        std::vector<std::pair<std::uint64_t, std::weak_ptr<std::function<void(const T&)>>>> now;
        for (const auto& [id, handler] : m_handlers->byId)
            now.emplace_back(id, handler);
        for (const auto& [id, weakHandler] : now) {
            const auto handler = weakHandler.lock();
            if (handler && m_handlers->byId.contains(id))
                (*handler)(value);
        }
    }

private:
    std::shared_ptr<Handlers> m_handlers = std::make_shared<Handlers>();
};

// A change announcement that carries no value.
using Announcement = Subject<std::monostate>;

} // namespace orvane::model
