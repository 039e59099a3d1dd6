# Ritmova: `make run` opens the window on the bundled example, `make test` runs every test.
# Both first install the Debian packages that the build needs, when they are missing.
# Each step prints one line; its full output goes to a log under build/, shown when it fails.

PRESET ?= dev
BUILD := build/$(PRESET)
EXAMPLE := examples/nsr2db-nsr012.int
PACKAGES := cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev xvfb xauth desktop-file-utils \
            fonts-dejavu-core file dpkg-dev clang-format clang libclang-rt-14-dev \
            libcli11-dev ccache help2man gzip man-db lintian appstream libfftw3-dev \
            poppler-utils
FUZZ_SECONDS ?= 60
# Seconds apt waits while another apt (unattended upgrades after boot, a software centre)
# holds its locks, before it gives up.
APT_LOCK_WAIT ?= 300
APT_GET := tools/apt-get-waiting $(APT_LOCK_WAIT)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# $(call step,NOTE,LOG,COMMAND): prints NOTE, runs COMMAND with its output in LOG and, when it
# fails, shows the end of LOG.
step = mkdir -p $(dir $(2)); echo "$(1) (log: $(2))"; \
  ( $(3) ) >$(2) 2>&1 || { tail -n 50 $(2); echo "$(1): failed; the whole output is in $(2)"; \
  exit 1; }

.PHONY: deps configure build test test-asan fuzz run bench package package-check format \
        format-check clean screenshot mutants

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  $(if $(SUDO),$(SUDO) -v || exit 1;) \
	  $(call step,Installing $$(echo $$missing | wc -w) Debian package(s) (waiting up to \
	    $(APT_LOCK_WAIT) s for another apt to finish),build/setup.log, \
	    $(SUDO) $(APT_GET) update && DEBIAN_FRONTEND=noninteractive \
	    $(SUDO) $(APT_GET) install -y --no-install-recommends $$missing); \
	fi

configure: deps
	@$(call step,Configuring $(PRESET),$(BUILD)-configure.log,cmake --preset $(PRESET))

build: configure
	@$(call step,Building $(PRESET),$(BUILD)-build.log,cmake --build --preset $(PRESET))

# ctest's summary is printed as it stands; when a test fails, every line but the passing ones.
test: build
	@echo "Testing $(PRESET) (log: $(BUILD)-test.log)"; \
	if ctest --preset $(PRESET) >$(BUILD)-test.log 2>&1; then \
	  sed -n '/tests passed, /,$$p' $(BUILD)-test.log; \
	else \
	  grep -Ev '^ +Start +[0-9]+: | Passed +[0-9.]+ sec$$' $(BUILD)-test.log; exit 1; \
	fi

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan-ubsan

# Every fuzz target for FUZZ_SECONDS each; fails when any input crashed or disagreed.
fuzz: deps
	@$(call step,Configuring fuzz,build/fuzz-configure.log,cmake --preset fuzz)
	@$(call step,Building fuzz,build/fuzz-build.log,cmake --build --preset fuzz)
	fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

# Opens the window; without a display, prints the console summary instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x $(BUILD)/src/ritmova ]; then \
	  $(BUILD)/src/ritmova $(EXAMPLE); \
	else \
	  echo "(no display: the console summary of $(EXAMPLE))"; \
	  $(BUILD)/src/ritmova-cli summary $(EXAMPLE); \
	fi

# The README's picture of the window: the bundled example exported as the window shows it on
# a 1280 x 800 screen, on Qt's offscreen platform (no display needed).
SCREENSHOT := docs/ritmova.png
screenshot: build
	@mkdir -p $(dir $(SCREENSHOT))
	printf '{"screens":[{"name":"screen","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96}]}' \
	  > $(BUILD)/screenshot-screen.json
	QT_QPA_PLATFORM=offscreen:configfile=$(BUILD)/screenshot-screen.json \
	  $(BUILD)/src/ritmova $(EXAMPLE) --export $(SCREENSHOT)

bench:
	@$(MAKE) --no-print-directory build PRESET=release
	build/release/bench/ritmova-bench
	QT_QPA_PLATFORM=offscreen build/release/bench/ritmova-window-bench
	bench/cli_batch.sh build/release/src/ritmova-cli
	bench/cli_windows.sh build/release/src/ritmova-cli

package:
	@$(MAKE) --no-print-directory build PRESET=release
	@rm -f build/release/ritmova_*.deb
	@$(call step,Packaging release,build/release-package.log,cd build/release && cpack -G DEB)
	@ls build/release/ritmova_*.deb

# The package under lintian, its AppStream metadata, launcher and manual pages.
package-check: package
	@dist/check-package build/release/ritmova_*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Mutation testing of the committed HEAD: single-token faults in the Qt-free code, each built
# and run against the whole suite in a throwaway clone under build/ (work in progress is never
# touched; the clone's paths let ccache reuse earlier builds).
# Prints the scores and keeps the log as build/mutants-$(SEED).jsonl.
MUTANTS ?= 250
SEED ?= 1
MUTANT_FILES ?= 'src/measures/*.cpp' 'src/analysis/*.cpp' 'src/report/*.cpp' 'src/common/*.cpp' \
                'src/cli/*.cpp' src/ui/plots.cpp src/ui/pass_view.cpp src/ui/recording_commands.cpp \
                src/ui/load_layout.cpp
MUTATE := $(abspath ../shared/tools/mutate.py)
# The first, full build of the clone may take long on a busy machine.
MUTATE_FLAGS ?= --build-timeout 3600

mutants: deps
	@mkdir -p build && tmp=$$(mktemp -d "$(CURDIR)/build/mutants-clone.XXXXXX") && \
	trap 'cp "$$tmp/build/mutants.jsonl" build/mutants-$(SEED).jsonl 2>/dev/null; rm -rf "$$tmp"' \
	  EXIT INT TERM && \
	git clone -q . "$$tmp" && \
	nice -n 10 python3 $(MUTATE) "$$tmp" $(MUTANT_FILES) --total $(MUTANTS) --seed $(SEED) \
	  $(MUTATE_FLAGS) --build-dir "$$tmp/build/mutants" --log "$$tmp/build/mutants.jsonl"; \
	status=$$?; cp "$$tmp/build/mutants.jsonl" build/mutants-$(SEED).jsonl && \
	python3 $(MUTATE) "$$tmp" --log build/mutants-$(SEED).jsonl --report; exit $$status

clean:
	rm -rf build
