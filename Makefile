# make run   installs what is missing, builds, and starts Mirado.
# make test  installs what is missing, builds, and runs every test (plain build, then a sanitizer build).
# make bench builds and runs the benchmarks.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan

.PHONY: deps configure build run test test-plain test-sanitized bench clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run-demo.sh $(BUILD)

test-plain: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitized: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRADO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-sanitize

test: test-plain test-sanitized

bench: build
	@tools/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
