# Two entry points: `make run` starts the scope, `make test` runs every test.
# Both install missing Debian packages first and build with CMake.
BUILD ?= build
JOBS  ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: run test build deps bench clean install package

deps:
	@scripts/deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/bin/tessaron-scope $(ARGS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 1

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
	rm -rf $(BUILD)
