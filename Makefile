# The entry points: `make run` starts the scope, `make test` is the quick loop
# a developer runs after every change (the whole plain suite, in parallel),
# `make check` is everything CI runs (`make test` with the hundred paced
# captures, then the sanitized suite, then the fuzz targets). Each installs
# missing Debian packages first and builds with CMake; ccache, when present,
# keeps the unchanged objects of every build from one run to the next.
BUILD ?= build
# The same sources built with the address and undefined-behaviour sanitizers.
SANITIZE_BUILD ?= build-sanitize
# Fuzz targets (clang and libFuzzer), and how long `make fuzz` runs each.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS  ?= $(shell nproc)

# How many tests ctest runs at once. Most of the suite waits rather than
# computes (a reply at the real line speed takes 3.4 s, a fault phase 10 s,
# the connection watch ticks once a second), so twice the cores keeps a
# 2-core machine busy; many more would starve the window tests that hold
# their event loop to a deadline. Long entries carry a COST and start first.
TEST_JOBS ?= $(shell echo $$(( $$(nproc) * 2 )))
# The paced captures at 9600 baud, 3.4 s each: ten in the quick loop, the
# hundred in `make check`.
PACED_CAPTURES ?= 10
# One fuzz target per core, so that each has its minute of a whole core.
FUZZ_JOBS ?= $(JOBS)

PREFIX ?= /usr/local

.PHONY: run test check paced-hundred sanitized-then-fuzz test-plain test-sanitize build build-sanitize build-fuzz fuzz deps bench clean install package

deps:
	@scripts/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSCOPE_SANITIZE=ON -DSCOPE_BENCHMARKS=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

build-fuzz: deps
	@cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DSCOPE_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/bin/tessaron-scope $(ARGS)

# The quick loop: every test of the plain build, TEST_JOBS at a time, with
# ten paced captures.
test: test-plain

# Everything CI runs: `make test`, then the sanitized suite, then a minute of
# fuzzing for each fuzz target. The hundred paced captures of the plain build
# (six minutes of waiting on the line, next to no CPU) run while the
# sanitized tree builds; a failure of either side fails the check.
check: test
	@$(MAKE) --no-print-directory -j 2 --output-sync=line paced-hundred sanitized-then-fuzz

paced-hundred:
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen PACED_CAPTURES=100 \
	  ctest --output-on-failure -R '^test_line_speed_paced$$'

sanitized-then-fuzz:
	@$(MAKE) --no-print-directory test-sanitize
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=60

test-plain: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen PACED_CAPTURES=$(PACED_CAPTURES) \
	  ctest --output-on-failure -j $(TEST_JOBS)

# The sanitized run checks memory and undefined behaviour over the same code
# paths; a hundred replies at the real line speed and long fault phases add
# wall-clock time there, not coverage, so it runs ten and shortens the phases.
SANITIZE_TEST_ENV = PACED_CAPTURES=10 FAULT_SECONDS=3
# As many at once as the plain suite. The export test's wrong CH2 volts,
# once taken for another test's window reaching its simulator, were the
# reply to its own capture request sent while stopped, read late on a loaded
# machine (tests/README.md).
SANITIZE_TEST_JOBS ?= $(TEST_JOBS)

test-sanitize: build-sanitize
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZE_TEST_ENV) \
	  ctest --output-on-failure -j $(SANITIZE_TEST_JOBS)

# Each fuzz target for FUZZ_SECONDS (10 minutes unless told otherwise),
# FUZZ_JOBS at a time; the figures are in
# $(FUZZ_BUILD)/Testing/Temporary/LastTest.log.
fuzz: build-fuzz
	@cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(FUZZ_JOBS)

bench: build
	@cd $(BUILD) && for b in bin/bench_*; do QT_QPA_PLATFORM=offscreen ./$$b; done

# make install PREFIX=/usr DESTDIR=/tmp/stage: the programs, their pictures and
# help page, the desktop entry, icons, metainfo and man pages under PREFIX.
install: build
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, $(BUILD)/tessaron-scope_<version>_<arch>.deb.
package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
