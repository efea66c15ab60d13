# The project's front door. Every target installs what it needs (Debian packages) when missing.
JOBS ?= $(shell nproc)
BIN := build/linux/bin

.PHONY: all build test demo windows clean deps

all: build

deps:
	@scripts/install-deps.sh build

build: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

test: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)
	ctest --preset linux -j $(JOBS)
	cmake --preset linux-asan >/dev/null
	cmake --build --preset linux-asan -j $(JOBS)
	ctest --preset linux-asan -j $(JOBS)

demo: build
	@scripts/demo.sh

windows:
	@scripts/install-deps.sh windows
	scripts/build-libjpeg-turbo-mingw.sh x86_64-w64-mingw32
	scripts/build-libjpeg-turbo-mingw.sh i686-w64-mingw32
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

clean:
	rm -rf build/linux build/linux-asan build/win64 build/win32 build/demo
