# The two commands of this project:
#   make run    installs what is missing, builds setup.exe and runs it under Wine
#   make test   installs what is missing, builds every tree and runs every test
BUILD ?= build
JOBS ?= 2
NATIVE := $(BUILD)/native
# The shipped 32-bit setup.exe, and its 64-bit twin for machines without 32-bit support.
WIN := $(BUILD)/win
WIN64 := $(BUILD)/win64
WIN_SETTINGS := -DCMAKE_BUILD_TYPE=MinSizeRel -DSONDREL_SUBSCRIPTION_HOST=127.0.0.1 -DSONDREL_PROBE_HOST=127.0.0.1

.PHONY: run test deps build native win win64 clean

# run.sh builds its tree with a make of its own: the packages were just checked.
run: deps
	SONDREL_DEPS_CHECKED=1 scripts/make/run.sh $(BUILD)

# run-tests.sh builds the trees itself: the Windows tests' tree first, the others beside its tests.
test: deps
	SONDREL_DEPS_CHECKED=1 MAKE="$(MAKE)" scripts/make/run-tests.sh $(BUILD)

build: native win win64

deps:
	@[ -n "$$SONDREL_DEPS_CHECKED" ] || scripts/make/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS) -- --no-print-directory

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake $(WIN_SETTINGS) >/dev/null
	@cmake --build $(WIN) -j$(JOBS) -- --no-print-directory

win64: deps
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake $(WIN_SETTINGS) >/dev/null
	@cmake --build $(WIN64) -j$(JOBS) -- --no-print-directory

clean:
	rm -rf $(BUILD)
