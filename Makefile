# The two set-up commands of the README:
#   make play   installs what is missing, builds and starts the game
#   make check  installs what is missing, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc)
XVFB = xvfb-run -a -s "-noreset -screen 0 1024x768x24"

.PHONY: play check deps build deb sanitize fuzz clean

play: build
	MOSSDEN_BUILD_DIR=$(BUILD) ./tools/run-game.sh

check: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The Debian package, from the install rules of the build above: written into
# the build folder as mossden_<version>_<architecture>.deb.
deb: build
	cd $(BUILD) && umask 022 && cpack -G DEB

# The same tests on a build with AddressSanitizer and UBSan, for the media
# generators of the build as well. Leak checks are off: the GL driver, the
# X libraries and the engine's singletons keep memory until exit; the
# engine's image code frees malloc'ed pixels with delete[].
# A UBSan report ends the process like an ASan one, so that it fails its test.
# TESTS=<pattern> runs only the tests whose names match.
sanitize: export ASAN_OPTIONS = detect_leaks=0:alloc_dealloc_mismatch=0
sanitize: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
sanitize: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DMOSSDEN_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && $(XVFB) ctest --output-on-failure $(if $(TESTS),-R '$(TESTS)')

# The libFuzzer targets (tests/fuzz/), built with clang in their own folder
# and run FUZZ_SECONDS each, seeded from this build's generated data;
# FUZZ_TARGETS=<names> runs only those, FUZZ_SEED=<n> from a fixed seed. A
# crash, leak or hang fails it.
FUZZ_SECONDS ?= 60
fuzz: build
	./tools/install-deps.sh fuzz
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOSSDEN_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_SEED=$(FUZZ_SEED) ./tools/run-fuzz.sh $(BUILD)-fuzz $(BUILD) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD)
