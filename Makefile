# The project's commands. `make test` and `make demo` install what is missing,
# build the targets and run; the rest are steps of them. Every stage ends
# with one line saying what ran and whether it passed; the full output of
# quiet stages is in build/logs/.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 3
STAGE = sh scripts/stage
LOGS = build/logs
MAKEFLAGS += --no-print-directory
# The Windows build the demo runs: the 32-bit product where the kernel runs
# 32-bit programs, else the 64-bit test build.
DEMO_WINDOWS := $(shell sh scripts/runs-32bit && echo win32 || echo win64)

.PHONY: all setup native win32 win64 test test-native test-win32 test-win64 fuzz bench demo clean

all: native win32 win64

setup:
	@sh scripts/setup

native: setup
	@$(STAGE) "native build" $(LOGS)/native-build.log \
	  sh -c 'cmake --preset native && cmake --build build/native -j$(JOBS)'

# win32 is the product; win64 is the same sources built for the tests, which
# run under 64-bit Wine on every kernel.
win32 win64: setup
	@$(STAGE) "$@ build" $(LOGS)/$@-build.log \
	  sh -c 'cmake --preset $@ && cmake --build build/$@ -j$(JOBS)'

test-native: native
	@$(STAGE) "native tests" $(LOGS)/native-tests.log \
	  ctest --test-dir build/native --output-on-failure -j$(JOBS)

# The Windows suites: unit tests and host scripts, under Wine inside Xvfb.
# The 32-bit one runs where the kernel runs 32-bit programs; the 64-bit one
# always runs. Verbose, so that the log holds the unit tests' own count.
test-win32 test-win64: test-%: %
	@sh scripts/wine-stage $(subst win,,$*) "$* tests under $(subst win,,$*)-bit Wine" $(LOGS)/$*-tests.log \
	  sh scripts/in-xvfb ctest --test-dir build/$* --output-on-failure -V

# Fuzz targets (libFuzzer, clang). `make fuzz FUZZ_SECONDS=60` runs each longer.
fuzz: setup
	@$(STAGE) "fuzz build" $(LOGS)/fuzz-build.log \
	  sh -c 'CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo && \
	         cmake --build build/fuzz -j$(JOBS) --target fuzz-all'
	@$(STAGE) "fuzz run ($(FUZZ_SECONDS) s per target)" $(LOGS)/fuzz-run.log \
	  sh fuzz/run-all build/fuzz/fuzz $(FUZZ_SECONDS)

test: test-native test-win32 test-win64 fuzz

# Benchmarks: a release build of their own, with TagLib installed for them.
bench:
	@sh scripts/setup bench
	@$(STAGE) "bench build" $(LOGS)/bench-build.log \
	  sh -c 'cmake -S . -B build/bench -DQEL_BENCH=ON -DCMAKE_BUILD_TYPE=Release && \
	         cmake --build build/bench -j$(JOBS)'
	@for b in build/bench/bench/bench_*; do "$$b" || exit 1; done

demo: native win32 $(DEMO_WINDOWS)
	@sh scripts/demo

clean:
	rm -rf build
