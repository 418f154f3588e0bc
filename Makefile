# Two entry points: `make run` starts the scope, `make test` runs every test.
# Both install missing Debian packages first and build with CMake.
BUILD ?= build
# The same sources built with the address and undefined-behaviour sanitizers.
SANITIZE_BUILD ?= build-sanitize
# Fuzz targets (clang and libFuzzer), and how long `make fuzz` runs each.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS  ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: run test test-plain test-sanitize build build-sanitize build-fuzz fuzz deps bench clean install package

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

# Every test twice: as built, then built with the sanitizers; then a minute
# of fuzzing for each fuzz target.
test:
	@$(MAKE) --no-print-directory test-plain
	@$(MAKE) --no-print-directory test-sanitize
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=60

test-plain: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 1

# The sanitized run checks memory and undefined behaviour over the same code
# paths; the hundred 3.4 s replies at the real line speed and the long fault
# phases add wall-clock time there, not coverage, so they are shortened.
SANITIZE_TEST_ENV = GTEST_FILTER=-*AHundredPacedCaptures* FAULT_SECONDS=3

test-sanitize: build-sanitize
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZE_TEST_ENV) ctest --output-on-failure -j 1

# Each fuzz target for FUZZ_SECONDS (10 minutes unless told otherwise); the
# figures are in $(FUZZ_BUILD)/Testing/Temporary/LastTest.log.
fuzz: build-fuzz
	@cd $(FUZZ_BUILD) && ctest --output-on-failure -j 1

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
