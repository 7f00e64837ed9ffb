# Quick start: `make demo` and `make test`. Both install what is missing first
# (as root, with apt-get) and build incrementally under build/.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c
FUZZ_SECONDS ?= 60
# ccache keys paths relative to the checkout, so clones share cached objects.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: monkey all deps deps-native deps-sanitizers configure-native configure-win32 native win32 win64 dist test test-native test-windows demo fuzz asan tsan bench clean

all: native

deps:
	./scripts/install-deps native windows

deps-native:
	./scripts/install-deps native

deps-sanitizers:
	./scripts/install-deps native sanitizers

configure-native: deps-native
	@[ -f build/native/build.ninja ] || cmake --preset native

native: configure-native
	cmake --build --preset native

configure-win32: deps
	@[ -f build/win32/build.ninja ] || cmake --preset win32

win32: configure-win32
	cmake --build --preset win32

win64: deps
	@[ -f build/win64/build.ninja ] || cmake --preset win64
	cmake --build --preset win64

# The zip for Windows users, build/dist/velmora-sector_editor-VERSION-win32.zip.
# Builds only the four programs it ships; the native command-line tools print
# their usage texts into its README.txt.
dist: configure-win32 configure-native
	cmake --build --preset win32 --target velmora sector_editor velmora-cli sector-cli
	cmake --build --preset native --target velmora-cli sector-cli
	./scripts/make-dist build/win32 build/native build/dist

test: test-native test-windows

test-native: native
	ctest --preset native

# Windows executables (core tests, CLIs, GUI tests) under Wine on a private X server.
# The 32-bit build is always built; where the kernel cannot execute 32-bit
# programs, the same sources run their tests as 64-bit executables instead.
test-windows: win32
	ctest --preset win32 -R 'imports'
	@if ./scripts/can-run-win32; then \
	  echo "Windows tests: win32 build (Wine's 32-bit loader runs on this machine)"; \
	  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win32 -E 'imports'; \
	else \
	  echo "Windows tests: win64 build ($$(./scripts/can-run-win32 --why); the win32 build is only compiled)"; \
	  $(MAKE) --no-print-directory win64; \
	  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win64; \
	fi
	@$(MAKE) --no-print-directory dist
	./scripts/test-dist build/dist/*.zip build/win32/tests/gui/gui-driver.exe

# Builds only the two command-line tools the demo runs; `make test` builds the rest.
demo: configure-native
	cmake --build --preset native --target velmora-cli sector-cli
	./scripts/demo

# Random walks through both windows under Wine, MONKEY_SECONDS each (default
# 60); MONKEY_SEED replays a walk. Built and run like the Windows tests.
MONKEY_SECONDS ?= 60
MONKEY_TARGETS := gui-driver velmora velmora-cli make_many_panels_ccf sector_editor_write_log
monkey: configure-win32
	@if ./scripts/can-run-win32; then preset=win32; else \
	  echo "Random walks: win64 build ($$(./scripts/can-run-win32 --why))"; preset=win64; \
	  [ -f build/win64/build.ninja ] || cmake --preset win64; \
	fi; \
	cmake --build --preset $$preset --target $(MONKEY_TARGETS) && \
	./scripts/monkey build/$$preset $(MONKEY_SECONDS)

fuzz: deps-sanitizers
	@[ -f build/fuzz/build.ninja ] || cmake --preset fuzz
	cmake --build --preset fuzz
	./scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# The unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps-sanitizers
	@[ -f build/asan/build.ninja ] || cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

tsan: deps-sanitizers
	@[ -f build/tsan/build.ninja ] || cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan -R 'Search'

bench: native
	./scripts/bench

clean:
	rm -rf build
