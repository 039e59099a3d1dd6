# Ritmova: `make run` opens the window on the bundled example, `make test` runs every test.
# Both first install the Debian packages that the build needs, when they are missing.

PRESET ?= dev
BUILD := build/$(PRESET)
EXAMPLE := examples/nsr2db-nsr012.int
PACKAGES := cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-qpa-plugins libgl-dev xvfb xauth desktop-file-utils \
            fonts-dejavu-core file dpkg-dev clang-format libcli11-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build test test-asan run bench package format format-check clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

test-asan:
	$(MAKE) test PRESET=asan-ubsan

# Opens the window; without a display, prints the console summary instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x $(BUILD)/src/ritmova ]; then \
	  $(BUILD)/src/ritmova $(EXAMPLE); \
	else \
	  echo "(no display: the console summary of $(EXAMPLE))"; \
	  $(BUILD)/src/ritmova-cli summary $(EXAMPLE); \
	fi

bench:
	$(MAKE) build PRESET=release
	build/release/bench/ritmova-bench
	QT_QPA_PLATFORM=offscreen build/release/bench/ritmova-window-bench
	bench/cli_batch.sh build/release/src/ritmova-cli
	bench/cli_windows.sh build/release/src/ritmova-cli

package:
	$(MAKE) build PRESET=release
	cd build/release && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
