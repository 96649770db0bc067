# The two commands of this project:
#   make run    installs what is missing, builds setup.exe and runs it under Wine
#   make test   installs what is missing, builds both trees and runs every test
BUILD ?= build
JOBS ?= 2
WIN := $(BUILD)/win
NATIVE := $(BUILD)/native

.PHONY: run test deps build native win clean

run: win
	scripts/run.sh $(BUILD)

test: build
	scripts/run-tests.sh $(BUILD)

build: native win

deps:
	@scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS) -- --no-print-directory

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
		-DSONDREL_SUBSCRIPTION_HOST=127.0.0.1 -DSONDREL_PROBE_HOST=127.0.0.1 >/dev/null
	@cmake --build $(WIN) -j$(JOBS) -- --no-print-directory

clean:
	rm -rf $(BUILD)
