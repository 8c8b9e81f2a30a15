// SPDX-License-Identifier: GPL-3.0-or-later
// A GObject with one owner: unreferenced when the owner goes.
#pragma once

#include <glib-object.h>

#include <memory>

namespace orvane::platform {

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};

template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

} // namespace orvane::platform
