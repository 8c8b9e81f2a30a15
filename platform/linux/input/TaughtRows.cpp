// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaughtRows.h"

#include "platform/linux/XdgPaths.h"

#include "model/JsonCoding.h"

#include <linux/input.h>

#include <algorithm>
#include <fstream>

namespace orvane::platform {

namespace {

using model::json::Json;

constexpr std::size_t maxFileBytes = 64 * std::size_t{1024};
constexpr std::size_t maxRows = 32; // keyboards; more than anyone attaches over the years
constexpr std::size_t maxNameBytes = 256;

std::optional<TaughtKey> decodeKey(const Json& value)
{
    if (!value.is_object())
        return std::nullopt;
    const auto number = [&value](const char* member, std::int64_t low, std::int64_t high) {
        const auto found = value.find(member);
        std::optional<std::int64_t> result;
        if (found != value.end() && found->is_number_integer()) {
            const auto n = found->get<std::int64_t>();
            if (n >= low && n <= high)
                result = n;
        }
        return result;
    };
    const auto vendor = number("vendor", 0, 0xffff);
    const auto product = number("product", 0, 0xffff);
    const auto code = number("code", 1, KEY_MAX);
    const auto name = value.find("name");
    const auto instant = value.find("instant");
    if (!vendor || !product || !code || name == value.end() || !name->is_string() ||
        name->get_ref<const std::string&>().size() > maxNameBytes ||
        (instant != value.end() && !instant->is_boolean()))
        return std::nullopt;
    TaughtKey key;
    key.device = {static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product),
                  name->get<std::string>()};
    key.code = static_cast<int>(*code);
    key.isInstant = instant != value.end() && instant->get<bool>();
    return key;
}

Json encodeKey(const std::optional<TaughtKey>& key)
{
    if (!key)
        return nullptr;
    return {{"vendor", key->device.vendor},
            {"product", key->device.product},
            {"name", key->device.name},
            {"code", key->code},
            {"instant", key->isInstant}};
}

} // namespace

bool TaughtRow::mentions(const DeviceId& device) const noexcept
{
    return std::any_of(keys.begin(), keys.end(),
                       [&device](const auto& key) { return key && key->device == device; });
}

std::string storableName(std::string_view name)
{
    const std::string text =
        Json(std::string(name)).dump(-1, ' ', false, Json::error_handler_t::replace);
    return Json::parse(text).get<std::string>();
}

std::filesystem::path taughtRowsPath()
{
    return configHome() / "orvane" / "toprows.json";
}

std::optional<TaughtRows> decodeTaughtRows(std::string_view text, std::string& error)
{
    auto parsed = model::json::parse(text);
    if (!parsed) {
        error = "not valid JSON";
        return std::nullopt;
    }
    const Json& value = parsed.value();
    const auto rows = value.is_object() ? value.find("rows") : value.end();
    if (rows == value.end() || !rows->is_array() || rows->size() > maxRows) {
        error = "no list of rows";
        return std::nullopt;
    }
    TaughtRows decoded;
    for (const Json& row : *rows) {
        const auto keys = row.is_object() ? row.find("keys") : row.end();
        if (keys == row.end() || !keys->is_array() || keys->size() != TaughtRow{}.keys.size()) {
            error = "a row without its twelve keys";
            return std::nullopt;
        }
        TaughtRow taught;
        for (std::size_t i = 0; i < taught.keys.size(); ++i) {
            const Json& key = (*keys)[i];
            if (key.is_null())
                continue;
            taught.keys[i] = decodeKey(key);
            if (!taught.keys[i]) {
                error = "key " + std::to_string(i + 1) + " of a row is damaged";
                return std::nullopt;
            }
        }
        decoded.push_back(std::move(taught));
    }
    return decoded;
}

std::string encodeTaughtRows(const TaughtRows& rows)
{
    Json list = Json::array();
    for (const TaughtRow& row : rows) {
        Json keys = Json::array();
        for (const auto& key : row.keys)
            keys.push_back(encodeKey(key));
        list.push_back({{"keys", std::move(keys)}});
    }
    return Json{{"rows", std::move(list)}}.dump(1) + '\n';
}

std::optional<TaughtRows> readTaughtRows(const std::filesystem::path& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored) && !ignored)
            return TaughtRows{};
        error = "cannot be read";
        return std::nullopt;
    }
    std::string text(maxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > maxFileBytes) {
        error = "larger than any file of taught rows";
        return std::nullopt;
    }
    return decodeTaughtRows(text, error);
}

TaughtRows withRow(TaughtRows rows, const TaughtRow& row)
{
    std::erase_if(rows, [&row](const TaughtRow& old) {
        return std::any_of(row.keys.begin(), row.keys.end(),
                           [&old](const auto& key) { return key && old.mentions(key->device); });
    });
    rows.push_back(row);
    if (rows.size() > maxRows)
        rows.erase(rows.begin());
    return rows;
}

std::optional<std::array<int, 12>> taughtCodes(const TaughtRows& rows, const DeviceId& device)
{
    const auto newest = std::find_if(rows.rbegin(), rows.rend(), [&device](const TaughtRow& row) {
        return row.mentions(device);
    });
    if (newest == rows.rend())
        return std::nullopt;
    std::array<int, 12> codes{};
    std::transform(
        newest->keys.begin(), newest->keys.end(), codes.begin(),
        [&device](const auto& key) { return key && key->device == device ? key->code : -1; });
    return codes;
}

} // namespace orvane::platform
