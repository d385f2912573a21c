# Brevoir: the two commands for a fresh Debian machine are `make run` and `make test`.
.PHONY: all setup build run test test-asan build-asan fuzz screenshot clean

JOBS ?= $(shell nproc)

all: build

setup:
	./scripts/setup.sh

build: setup
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	build/bin/brevoir

# The whole suite, inside the headless test rig (private PulseAudio, D-Bus and HOME).
test: build
	./scripts/test-rig.sh ctest --test-dir build --output-on-failure -j 2

build-asan: setup
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

# The suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	./scripts/test-rig.sh ctest --test-dir build-asan --output-on-failure -j 2

# Every fuzz target for a bounded time (30 s each) on a copy of its seed corpus, in build-fuzz.
fuzz: setup
	./scripts/fuzz.sh

# A screenshot of the main window under Xvfb, into build/screenshot.png.
screenshot: build
	./scripts/screenshot.sh build/screenshot.png

clean:
	rm -rf build build-asan build-fuzz
