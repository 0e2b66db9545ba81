// The VARN desktop program.
//
// `varn --export-pdf ...` writes a character's laid-out sheet as PDF without a display.
// VARN_EXIT_AFTER_STARTUP=1 in the environment makes the program quit as soon as its main
// window is up (start-up timing, smoke tests).

#include "app/Application.h"
#include "app/HeadlessExport.h"

#include <QList>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define VARN_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VARN_LEAK_CHECKED 1
#endif

// Once the event loop has ended the program only takes itself down: every destructor still
// runs (documents, windows, Qt's own hand-over of the clipboard), but the memory they free
// is left for the system to take back at exit instead of going back to the allocator block
// by block; with a large data set the rules database alone is hundreds of thousands of
// blocks. Not under the sanitizers: their leak check must see every block freed.
#if !defined(VARN_LEAK_CHECKED)
namespace {
std::atomic<bool> g_tearingDown{false};
}

void* operator new(std::size_t size) {
    for (;;) {
        if (void* block = std::malloc(size == 0 ? 1 : size))
            return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    if (!g_tearingDown.load(std::memory_order_relaxed))
        std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete[](void* block) noexcept {
    operator delete(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {
void SkipFreeingFromNowOn() {
    g_tearingDown.store(true, std::memory_order_relaxed);
}
} // namespace
#else
namespace {
void SkipFreeingFromNowOn() {}
} // namespace
#endif

namespace {
// The rules of a large data set are hundreds of thousands of small blocks, tens of megabytes
// in all, and each 4 KiB page of the heap costs the program a fault when it is first touched:
// with such a set, more time than reading the files. So the heap grows at once by a large
// step that is left to the system as memory for huge pages, where one fault brings in 2 MiB.
// Nothing is touched here: pages the program never uses cost nothing. Where the system has
// no huge pages for the asking, the request changes nothing. Not under the sanitizers, which
// keep a heap of their own.
void PrepareHeap() {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE) && !defined(VARN_LEAK_CHECKED)
    constexpr size_t step = size_t{64} << 20;
    constexpr uintptr_t hugePage = uintptr_t{2} << 20;
    if (mallopt(M_TOP_PAD, static_cast<int>(step)) == 0)
        return;
    // The heap grows by the step with the first request it cannot meet from what it holds.
    const auto start = reinterpret_cast<uintptr_t>(sbrk(0));
    void* blocks[64] = {};
    for (void*& block : blocks) {
        block = std::malloc(64 << 10);
        if (block == nullptr || reinterpret_cast<uintptr_t>(sbrk(0)) != start)
            break;
    }
    for (void* block : blocks)
        std::free(block);
    const auto end = reinterpret_cast<uintptr_t>(sbrk(0));
    const uintptr_t from = (start + hugePage - 1) & ~(hugePage - 1);
    if (end > from + hugePage)
        madvise(reinterpret_cast<void*>(from), (end - from) & ~(hugePage - 1), MADV_HUGEPAGE);
#endif
}

// Once up, the heap grows and gives back memory by the usual steps again.
void SettleHeap() {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE) && !defined(VARN_LEAK_CHECKED)
    mallopt(M_TOP_PAD, 128 << 10);
#endif
}
} // namespace

namespace {
bool HaveDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// `display` is the one that could not be opened, nullptr when none is set.
void NoDisplay(const char* display) {
    const char* advice =
        "the desktop program needs a graphical session (for command-line work use varn-tool)";
    if (display == nullptr || *display == '\0')
        std::fprintf(stderr, "varn: no display found (DISPLAY is not set): %s\n", advice);
    else
        std::fprintf(stderr, "varn: cannot open the display %s: %s\n", display, advice);
}

// Qt's messages while it connects to the display, held back: when it cannot connect, it
// reports in several lines and then aborts; the user gets one line instead, and no core.
QtMessageHandler g_previousHandler = nullptr;
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> g_held;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    (void)context;
    if (type == QtFatalMsg) {
        NoDisplay(std::getenv("DISPLAY"));
        std::fflush(stderr);
        _exit(1);
    }
    g_held.append({type, message});
}
} // namespace

int main(int argc, char** argv) {
    PrepareHeap();
    if (IsHeadlessExport(argc, argv))
        return RunHeadlessExport(argc, argv);
    if (!HaveDisplay()) {
        NoDisplay(nullptr);
        return 1;
    }
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    Application app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    for (const HeldMessage& held : g_held) {
        const QMessageLogContext none;
        qt_message_output(held.type, none, held.text);
    }
    g_held.clear();

    const bool started = app.initialize();
    SettleHeap();
    if (!started)
        return 1;
    if (qEnvironmentVariableIntValue("VARN_EXIT_AFTER_STARTUP") != 0)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int status = app.exec();
    SkipFreeingFromNowOn();
    return status;
}
