// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopThread.h"

#include <glib-unix.h>
#include <glib.h>

#include <future>

namespace orvane::platform {

struct DesktopThread::Loop {
    GMainContext* context = g_main_context_new();
    GMainLoop* loop = g_main_loop_new(context, FALSE);
    ~Loop()
    {
        g_main_loop_unref(loop);
        g_main_context_unref(context); // destroys the sources left, and the tasks they hold
    }
};

namespace {

template <typename Function> void deleteFunction(gpointer function)
{
    delete static_cast<Function*>(function);
}

gboolean runTask(gpointer task)
{
    (*static_cast<std::function<void()>*>(task))();
    return G_SOURCE_REMOVE;
}

gboolean runWatch(gint /*fd*/, GIOCondition /*condition*/, gpointer onReadable)
{
    return (*static_cast<std::function<bool()>*>(onReadable))() ? G_SOURCE_CONTINUE
                                                                : G_SOURCE_REMOVE;
}

} // namespace

DesktopThread::DesktopThread() : m_loop(std::make_unique<Loop>())
{
    m_thread = std::thread([loop = m_loop.get()] {
        // As the thread's default context, GIO's own asynchronous work also lands here.
        g_main_context_push_thread_default(loop->context);
        g_main_loop_run(loop->loop);
        g_main_context_pop_thread_default(loop->context);
    });
}

DesktopThread::~DesktopThread()
{
    post([loop = m_loop.get()] { g_main_loop_quit(loop->loop); });
    m_thread.join();
}

void DesktopThread::post(std::function<void()> task)
{
    // An idle source rather than g_main_context_invoke, which would run the task at once when
    // posted from the thread itself and so break the order of tasks.
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(source, runTask, new std::function<void()>(std::move(task)),
                          deleteFunction<std::function<void()>>);
    g_source_attach(source, m_loop->context);
    g_source_unref(source);
}

void DesktopThread::watch(int fd, std::function<bool()> onReadable)
{
    GSource* source =
        g_unix_fd_source_new(fd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR));
    // GLib calls the callback with the signature of the source type, as its docs require.
    g_source_set_callback(
        source, reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(runWatch)),
        new std::function<bool()>(std::move(onReadable)), deleteFunction<std::function<bool()>>);
    g_source_attach(source, m_loop->context);
    g_source_unref(source);
}

void DesktopThread::flush()
{
    std::promise<void> done;
    post([&done] { done.set_value(); });
    done.get_future().wait();
}

} // namespace orvane::platform
