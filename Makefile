# make run   installs what is missing, builds the player and the demo media, and opens the demo.
# make test  installs what is missing, builds, and runs every test (plain build, sanitizer build, a short fuzz run,
#            and the Debian package's install and removal when run as root).
# make bench installs what the benchmarks compare with, builds and runs them (about 15 minutes).
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# A developer's ccache, where there is one, makes rebuilds of other checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: deps configure build run test test-plain test-sanitized test-fuzz test-package bench clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only what the demo needs is built, so a newcomer sees the window soon.
run: configure
	@tools/run-demo.sh $(BUILD) $(JOBS)

test-plain: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitized: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRADO_SANITIZE=ON $(LAUNCHER) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-sanitize

# The picture decoders and the container reader under libFuzzer for a short while each (needs clang).
test-fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRADO_LAYERS="container;imaging" -DMIRADO_BENCH=OFF $(LAUNCHER) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target imaging_fuzz_seeds imaging_decoder_fuzzer container_fuzz_seeds container_reader_fuzzer
	@ctest --test-dir $(FUZZ_BUILD) --output-on-failure -R '^(imaging_(fuzz_seeds|decoder_fuzz)|container_(fuzz_seeds|reader_fuzz))$$'

# The Debian package from end to end (tools/check-package.sh). It installs and removes the package, so it
# runs only as root or with sudo that asks for no password.
test-package: build
	@if ! { command -v lintian && command -v appstreamcli && command -v desktop-file-validate; } >/dev/null; then \
	  echo "Skipping the package check: lintian, appstreamcli or desktop-file-validate is missing."; \
	elif [ "$$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null; then tools/check-package.sh $(BUILD); \
	else echo "Skipping the package check: it needs root, or sudo without a password."; fi

test: test-plain test-sanitized test-fuzz test-package

bench: build
	@tools/install-deps.sh tools/bench-deps.txt
	@tools/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
