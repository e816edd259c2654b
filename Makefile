# The two commands a newcomer needs: `make run` and `make test`. Only they,
# `make deps` and `make ci` install the packages that are missing
# (scripts/install-deps.sh); every other target, `make` alone among them, uses
# what is installed.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# The compiler cache, where one is installed: the build itself never uses one
# unless asked (-DLEXIPEDE_CCACHE=ON).
CCACHE ?= $(if $(shell command -v ccache),ON,OFF)
CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	-DLEXIPEDE_CCACHE=$(CCACHE)

.PHONY: all run test bench startup deps configure build clean sanitize package fuzz fuzz-check \
	ci format-check

all:
	@test -f $(BUILD_DIR)/build.ninja || $(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/lexipede

# Everything, the package installed into this machine and removed again among
# it (LEXIPEDE_ALLOW_PACKAGE_INSTALL; a bare ctest leaves the machine alone).
test: build
	LEXIPEDE_ALLOW_PACKAGE_INSTALL=1 ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: all
	$(BUILD_DIR)/tests/bench/lexipede_bench
	QT_SCALE_FACTOR=1 $(BUILD_DIR)/tests/bench/pick_bench
	QT_SCALE_FACTOR=2 $(BUILD_DIR)/tests/bench/pick_bench
	scripts/sound-server-bench.sh $(BUILD_DIR)

# The Debian package, lexipede_<version>_amd64.deb in the build folder; the
# same bytes from any umask, folder, time zone or locale.
package: all
	cmake --build $(BUILD_DIR) --target package

# Start-up time of the game against a bare Qt window, under Xvfb.
startup: all
	scripts/measure-startup.sh $(BUILD_DIR)

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# The tests that wait out a whole game of 172.8 s on a real server: the
# sanitizer run leaves them to make test, as the window tests run the same
# code under the sanitizers within seconds. The sway test too, for now: its
# sanitized game ends with 1 at Quit there, with its standard error in the
# protocol log the test reads.
WHOLE_GAMES = ^(keyboard_game|wayland_mutter|wayland_kwin|wayland_sway)$$
sanitize:
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXIPEDE_SANITIZE=ON \
	  -DLEXIPEDE_WERROR=$(WERROR) -DLEXIPEDE_CCACHE=$(CCACHE)
	cmake --build build-sanitize -j $(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer-suppressions.txt ctest --test-dir build-sanitize --output-on-failure -j $(JOBS) \
	  -E '$(WHOLE_GAMES)'

# The fuzz targets of tests/fuzz, built with clang, libFuzzer and both sanitizers.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
fuzz:
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DLEXIPEDE_FUZZ=ON \
	  -DLEXIPEDE_CCACHE=$(CCACHE)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz

# Replays the committed seeds, then fuzzes each target for FUZZ_SECONDS.
fuzz-check: fuzz
	scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Every C++ file of ours as .clang-format lays it out.
format-check:
	scripts/check-format.sh

# What CI runs (.ci/run): the layout check, then the suite, the suite under the
# sanitizers (both built with every warning an error) and the fuzz targets.
WERROR ?= OFF
ci: deps format-check
	$(CONFIGURE) -DLEXIPEDE_WERROR=ON
	$(MAKE) test
	$(MAKE) sanitize WERROR=ON
	$(MAKE) fuzz-check

deps:
	scripts/install-deps.sh

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || $(CONFIGURE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) build-sanitize $(FUZZ_DIR)
