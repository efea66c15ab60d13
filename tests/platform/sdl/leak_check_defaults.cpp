// How the sanitizer build checks this program for leaks, which loads the display and sound
// libraries and their plugins.

// The display, sound and TLS libraries keep caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libasound\n"
         "leak:libcrypto\nleak:libglib-2.0\n";
}

// The leak checker's scan of thread-local storage crashes on the thread-local blocks of the
// plugins loaded here (a fault in the checker, whether it strikes depends on where the loader
// put them). Blocks that only thread-local storage points to are the libraries' own caches,
// suppressed above; our code's allocations are checked by the headless tests.
extern "C" const char* __lsan_default_options() {
  return "use_tls=0";
}
