# Thin wrapper around CMake/CTest. `make run` and `make check` work on a fresh
# Debian machine: they install whatever is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run check clean

all: build

deps:
	@./scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: deps $(BUILD)/build.ninja
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/app/Morvex

check: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

# The Debian package, written to $(BUILD)/Morvex-<version>-Linux.deb.
.PHONY: package
package: build
	@./scripts/install-deps release
	@cd $(BUILD) && cpack -G DEB
