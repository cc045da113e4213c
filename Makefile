# The two set-up commands of the README:
#   make play   installs what is missing, builds and starts the game
#   make check  installs what is missing, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc)
XVFB = xvfb-run -a -s "-noreset -screen 0 1024x768x24"

.PHONY: play check deps build sanitize clean

play: build
	./tools/run-game.sh

check: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD)
