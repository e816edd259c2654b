// Preloaded into the game, this makes the application object's construction
// start late (LEXIPEDE_TOOLKIT_DELAY_MS, 1000 by default), so that whatever
// other threads do at start-up surely happens before the toolkit exists.

#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {
// QApplication::QApplication(int&, char**, int), as the game's entry calls it.
using TConstructor = void (*)(void* self, int& argc, char** argv, int flags);
constexpr const char* ConstructorName = "_ZN12QApplicationC1ERiPPci";
} // namespace

extern "C" __attribute__((visibility("default"))) void
_ZN12QApplicationC1ERiPPci(void* self, int& argc, char** argv, int flags) {
    const char* delay = std::getenv("LEXIPEDE_TOOLKIT_DELAY_MS");
    ::usleep(static_cast<useconds_t>((delay != nullptr ? std::atoi(delay) : 1000) * 1000));
    auto real = reinterpret_cast<TConstructor>(::dlsym(RTLD_NEXT, ConstructorName));
    if (real == nullptr) {
        std::abort();
    }
    real(self, argc, argv, flags);
}
