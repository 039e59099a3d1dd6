# Ritmova: `make run` opens the window on the bundled example, `make test` runs every test.
# Both first install the Debian packages that the build needs, when they are missing.

PRESET ?= dev
BUILD := build/$(PRESET)
EXAMPLE := examples/nsr2db-nsr012.int
PACKAGES := cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-qpa-plugins libgl-dev xvfb xauth desktop-file-utils \
            fonts-dejavu-core file dpkg-dev clang-format
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build test test-asan run bench package format format-check clean mutants

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

package:
	$(MAKE) build PRESET=release
	cd build/release && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Mutation testing of the committed HEAD: single-token faults in the Qt-free code, each built
# and run against the whole suite in a throwaway clone (work in progress is never touched).
# Prints the scores and keeps the log as build/mutants-$(SEED).jsonl.
MUTANTS ?= 250
SEED ?= 1
MUTANT_FILES ?= 'src/analysis/*.cpp' 'src/spectral/*.cpp' 'src/markov/*.cpp' 'src/report/*.cpp' \
                'src/common/*.cpp' 'src/cli/*.cpp' src/ui/plots.cpp src/ui/load_layout.cpp
MUTATE := $(abspath ../shared/tools/mutate.py)
# The first, full build of the clone may take long on a busy machine.
MUTATE_FLAGS ?= --build-timeout 3600

mutants: deps
	@tmp=$$(mktemp -d) && trap 'rm -rf "$$tmp"' EXIT && \
	git clone -q . "$$tmp" && \
	nice -n 10 python3 $(MUTATE) "$$tmp" $(MUTANT_FILES) --total $(MUTANTS) --seed $(SEED) \
	  $(MUTATE_FLAGS) --build-dir "$$tmp/build/mutants" --log "$$tmp/build/mutants.jsonl"; \
	status=$$?; mkdir -p build && cp "$$tmp/build/mutants.jsonl" build/mutants-$(SEED).jsonl && \
	python3 $(MUTATE) "$$tmp" --log build/mutants-$(SEED).jsonl --report; exit $$status

clean:
	rm -rf build
