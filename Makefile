# One-command entry points; each installs what is missing, configures and builds first.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
CTEST_FLAGS ?=

.PHONY: deps configure build run test test-asan bench fuzz format

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./korvell

test: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_FLAGS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DASAN=ON -DWERROR=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_FLAGS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DKORVELL_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen "$$b" || exit 1; fi; done

# libFuzzer needs clang; every target runs FUZZ_SECONDS on its own, one after another.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELL_FUZZ=ON \
		-DCMAKE_CXX_COMPILER=clang++-14 $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target korvell_fuzzers
	fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
