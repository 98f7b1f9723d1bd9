# The project's commands. `make test` and `make demo` install what is missing,
# build both targets and run; the rest are steps of them. Every stage ends
# with one line saying what ran and whether it passed; the full output of
# quiet stages is in build/logs/.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 3
STAGE = sh scripts/stage
LOGS = build/logs
MAKEFLAGS += --no-print-directory

.PHONY: all setup native win32 test test-native test-win32 fuzz bench demo clean

all: native win32

setup:
	@sh scripts/setup

native: setup
	@$(STAGE) "native build" $(LOGS)/native-build.log \
	  sh -c 'cmake --preset native && cmake --build build/native -j$(JOBS)'

win32: setup
	@$(STAGE) "win32 build" $(LOGS)/win32-build.log \
	  sh -c 'cmake --preset win32 && cmake --build build/win32 -j$(JOBS)'

test-native: native
	@$(STAGE) "native tests" $(LOGS)/native-tests.log \
	  ctest --test-dir build/native --output-on-failure -j$(JOBS)

test-win32: win32
	@sh scripts/wine-stage "win32 tests under Wine" $(LOGS)/win32-tests.log \
	  sh scripts/in-xvfb ctest --test-dir build/win32 --output-on-failure

# Fuzz targets (libFuzzer, clang). `make fuzz FUZZ_SECONDS=60` runs each longer.
fuzz: setup
	@$(STAGE) "fuzz build" $(LOGS)/fuzz-build.log \
	  sh -c 'CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo && \
	         cmake --build build/fuzz -j$(JOBS) --target fuzz-all'
	@$(STAGE) "fuzz run ($(FUZZ_SECONDS) s per target)" $(LOGS)/fuzz-run.log \
	  sh fuzz/run-all build/fuzz/fuzz $(FUZZ_SECONDS)

test: test-native test-win32 fuzz

# Benchmarks: a release build of their own, with TagLib installed for them.
bench:
	@sh scripts/setup bench
	@$(STAGE) "bench build" $(LOGS)/bench-build.log \
	  sh -c 'cmake -S . -B build/bench -DQEL_BENCH=ON -DCMAKE_BUILD_TYPE=Release && \
	         cmake --build build/bench -j$(JOBS)'
	@for b in build/bench/bench/bench_*; do "$$b" || exit 1; done

demo: native win32
	@sh scripts/demo

clean:
	rm -rf build
