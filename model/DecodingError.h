// SPDX-License-Identifier: GPL-3.0-or-later
// Why a stored JSON value could not be read, and the result type the decoders return.
#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace orvane::model {

struct DecodingError {
    enum class Kind { typeMismatch, keyNotFound, valueNotFound, dataCorrupted };

    Kind kind = Kind::dataCorrupted;
    std::vector<std::string> codingPath; // member names and array indices from the root
    std::string description;

    // "description (at keyMapping[3].fn.key)": for people reading an error message.
    std::string message() const;
};

// A decoded value or the reason there is none.
template <typename T> class Decoded {
public:
    Decoded(T value) : m_result(std::move(value)) {}
    Decoded(DecodingError error) : m_result(std::move(error)) {}

    bool ok() const noexcept { return std::holds_alternative<T>(m_result); }
    explicit operator bool() const noexcept { return ok(); }
    const T& value() const& { return std::get<T>(m_result); }
    T&& value() && { return std::get<T>(std::move(m_result)); }
    const DecodingError& error() const& { return std::get<DecodingError>(m_result); }

private:
    std::variant<T, DecodingError> m_result;
};

} // namespace orvane::model
