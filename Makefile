# Brevoir: the two commands for a fresh Debian machine are `make run` and `make test`.
.PHONY: all setup configure build run test test-asan build-asan build-bench bench install package \
	check-install check-package fuzz screenshot screenshots clean

JOBS ?= $(shell nproc)
# `make install PREFIX=DIR` installs under DIR instead of /usr/local.
PREFIX ?=

all: build

setup:
	./scripts/setup.sh

configure: setup
	cmake --preset default

# The program and the tests (the benchmarks are built by `make bench`).
build: configure
	cmake --build --preset default -j $(JOBS)

# The program alone, then start it.
run: configure
	cmake --build --preset default -j $(JOBS) --target brevoir
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

# Every benchmark of bench/, built.
build-bench: configure
	cmake --build --preset default -j $(JOBS) --target benchmarks

# Builds every benchmark and runs each (scripts/bench.sh says how).
bench: build-bench
	./scripts/bench.sh build

# The program, its launcher, icon, metainfo, D-Bus service, manual page and help pages.
install: configure
	cmake --build --preset default -j $(JOBS) --target brevoir
	cmake --install build $(if $(PREFIX),--prefix $(PREFIX))

# A Debian package of the same files, into build/brevoir_VERSION_ARCH.deb.
package: configure
	cmake --build --preset default -j $(JOBS) --target brevoir
	cd build && cpack

# Installs into a temporary folder and checks the installed files and the installed program
# (validators, D-Bus activation, a recording through the test rig).
check-install: configure
	cmake --build --preset default -j $(JOBS) --target brevoir
	./scripts/check-package.sh build

# The same checks on the Debian package, installed with apt and removed afterwards (as root).
check-package: package
	./scripts/check-package.sh --deb build

# Every fuzz target for a bounded time (30 s each) on a copy of its seed corpus, in build-fuzz.
fuzz: setup
	./scripts/fuzz.sh

# A screenshot of the main window under Xvfb, into build/screenshot.png.
screenshot: build
	./scripts/screenshot.sh build/screenshot.png

# The window in each state (fresh start, recording, playing, each menu, the customisation
# palette, a customised toolbar after a relaunch, the About panel), then its main states under a
# light and a dark theme in English and German, into build/screenshots/.
screenshots: build
	./scripts/screenshots.sh build/screenshots

clean:
	rm -rf build build-asan build-fuzz
