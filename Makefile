# Thin wrapper around CMake/CTest. `make run` and `make check` work on a fresh
# Debian machine: they install whatever is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run check clean check-trixie check-testing

all: build

deps:
	@./scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: deps $(BUILD)/build.ninja
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/app/morvex

# The project's own build: a warning is an error here (and in CI), never in a
# build configured as a user or a distribution configures it.
check: deps
	@cmake -S . -B $(BUILD) -G Ninja -DMORVEX_WERROR=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-trixie build-testing

# The same suite on another Debian release, as a fresh machine of it runs it:
# `make check` in a root of that release (scripts/debian-root, made once and
# kept in ~/.cache/morvex), building into build-<suite>. `make check-trixie`
# is Debian 13; `make check-testing` the next release as it stands.
check-trixie check-testing:
	@./scripts/debian-root $(@:check-%=%) make check BUILD=$(@:check-%=build-%)

# The Debian source package and the packages built from it, the Debian way
# (dpkg-buildpackage, debian/), all written to $(BUILD)/: morvex_<version>
# .orig.tar.gz, .debian.tar.xz, .dsc, .buildinfo and .changes,
# morvex_<version>-<revision>_<arch>.deb and its -dbgsym package. The build
# runs the whole test suite (DEB_BUILD_OPTIONS=nocheck: none of it).
.PHONY: package
package:
	@./scripts/install-deps package
	@JOBS=$(JOBS) ./packaging/build-package $(BUILD)

# The packages built, then checked as Debian and a desktop would check them
# (packaging/check-package: lintian, desktop-file-validate, appstreamcli,
# the hardening, the window's class against the desktop entry, and
# autopkgtest on this machine, which installs the package and removes it).
.PHONY: check-package
check-package: package
	@./packaging/check-package $(BUILD)

# The libFuzzer targets of fuzz/, built with clang into $(FUZZ_BUILD). Each
# runs for FUZZ_SECONDS from a fresh copy of its seed corpus (the repository's
# fuzz/corpus is only read); any finding fails the run and is kept under
# $(FUZZ_BUILD)/fuzz-runs/<target>/findings.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	@./scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DMORVEX_FUZZ=ON \
		-DMORVEX_WERROR=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target morvex_fuzzers
	@./fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The whole test suite built with AddressSanitizer and UndefinedBehavior-
# Sanitizer into $(SANITIZE_BUILD), leaks included. Qt itself is not
# instrumented, so only our code's memory errors are caught; Qt's own
# allocations still count for the leak check, and the suite has none
# (tests/lsan.supp names the exceptions: fontconfig's configuration, and
# what Qt's Wayland platform leaves to the end of the process).
SANITIZE_BUILD ?= build-asan
.PHONY: check-sanitize
check-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DMORVEX_SANITIZE=ON -DMORVEX_WERROR=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# Benchmarks (bench/): start-up against a bare Qt window, the calculation and
# the table fill through the real widgets, and a callgrind profile of
# start-up. Built with the shipped optimisation into $(BENCH_BUILD); prints
# the tables and writes bench/results.md.
BENCH_BUILD ?= build-bench
BENCH_RUNS ?= 20
.PHONY: bench
bench:
	@./scripts/install-deps bench
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEX_BENCH=ON \
		-DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target morvex_bench
	@./bench/run-bench $(BENCH_BUILD) --runs $(BENCH_RUNS)

# The Windows build: Morvex.exe cross-built with MinGW-w64 against Qt for
# Windows, which scripts/build-qt-windows builds once from Debian 13's Qt source
# into ~/.cache/morvex (about 20 minutes the first time). Writes the
# program's folder, Morvex-<version>-win64.zip and the per-user installer
# Morvex-<version>-win64-setup.exe into $(WINDOWS_BUILD).
WINDOWS_BUILD ?= build-windows
.PHONY: windows check-windows
windows:
	@./scripts/build-windows $(WINDOWS_BUILD)

# The whole test suite under Wine, the real Morvex.exe from the zip driven on
# Xvfb (and the settings its close wrote to the registry), and the installer.
check-windows:
	@./scripts/check-windows $(WINDOWS_BUILD)
