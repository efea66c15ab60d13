# The project's front door. Every target installs what it needs (Debian packages) when missing.
JOBS ?= $(shell nproc)
BIN := build/linux/bin

.PHONY: all build test e2e studio-test fuzz soak demo windows clean deps

all: build

deps:
	@scripts/install-deps.sh build

build: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

test: deps
	@scripts/install-deps.sh display
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)
	ctest --preset linux -j $(JOBS)
	JOBS=$(JOBS) scripts/studio-browser-test.sh
	cmake --preset linux-asan >/dev/null
	cmake --build --preset linux-asan -j $(JOBS)
	ctest --preset linux-asan -j $(JOBS)
	JOBS=$(JOBS) scripts/e2e.sh

# The studio in headless Chromium alone: three photos in, a Windows 64-bit saver out.
studio-test:
	JOBS=$(JOBS) scripts/studio-browser-test.sh

# The Windows saver under Wine alone; E2E_ARGS='-k WORD' picks cases.
e2e:
	JOBS=$(JOBS) scripts/e2e.sh $(E2E_ARGS)

# Every fuzz target for FUZZ_SECONDS each, on a clang build with the sanitizers (build/fuzz).
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh build fuzz
	JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_SECONDS)

# Not in CI: 20,000 headless slides with the resident set sampled, then memcheck on 50 slides.
soak: deps
	@scripts/install-deps.sh soak
	cmake --preset linux >/dev/null
	cmake --build --preset linux --target soak -j $(JOBS)
	$(BIN)/soak --slides 20000 --sample 1000
	valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	  $(BIN)/soak --slides 50 --sample 10 --screen 160x120 --rss-allowance none

demo: build
	@scripts/demo.sh

windows:
	@scripts/install-deps.sh windows
	scripts/build-libjpeg-turbo-mingw.sh x86_64-w64-mingw32
	scripts/build-libjpeg-turbo-mingw.sh i686-w64-mingw32
	scripts/build-png-mingw.sh x86_64-w64-mingw32
	scripts/build-png-mingw.sh i686-w64-mingw32
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

clean:
	rm -rf build/linux build/linux-asan build/win64 build/win32 build/demo
