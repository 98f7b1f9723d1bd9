# The project's commands. `make test` and `make demo` install what is missing,
# build both targets and run; the rest are steps of them.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 3
XVFB = xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all setup native win32 test test-native test-win32 fuzz fuzz-smoke bench demo clean

all: native win32

setup:
	@sh scripts/setup

native: setup
	@cmake --preset native >/dev/null
	@cmake --build build/native -j$(JOBS)

win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build build/win32 -j$(JOBS)

test-native: native
	ctest --test-dir build/native --output-on-failure -j$(JOBS)

test-win32: win32
	$(XVFB) ctest --test-dir build/win32 --output-on-failure

# Fuzz targets (libFuzzer, clang). `make fuzz FUZZ_SECONDS=60` runs each longer.
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/fuzz -j$(JOBS) --target fuzz-all
	@sh fuzz/run-all build/fuzz/fuzz $(FUZZ_SECONDS)

test: test-native test-win32 fuzz

bench: native
	@for b in build/native/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

demo: native win32
	@sh scripts/demo

clean:
	rm -rf build
