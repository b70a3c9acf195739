# Wraps the build: `make demo` runs the program on the simulated desktop, `make test` builds
# with the sanitizers and runs every test.
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)
CMAKE_COMMON = -G Ninja -DTILMORA_WERROR=$(WERROR)

.PHONY: deps demo run test tsan bench bench-build bench-run bench-smoke bench-check bench-baseline fuzz format clean

deps:
	@bash scripts/install-deps

# `make demo` configures build/release once (ninja runs cmake again by itself when a CMake file
# changed), builds what changed, showing the build's lines only when there is something to build,
# then runs the program, which takes the terminal's Ctrl-C for itself. Later starts:
# ./build/release/app/tilmora.
DEMO_QUIET = grep --line-buffered -v -x -E -e '\[0/[0-9]+\] Re-checking globbed directories\.\.\.' -e 'ninja: no work to do\.' || true
demo run: deps
	@test -f build/release/build.ninja || cmake -S . -B build/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DTILMORA_BENCH=OFF
	@bash -o pipefail -c "cmake --build build/release --target tilmora -j $(JOBS) | { $(DEMO_QUIET); }"
	@./build/release/app/tilmora $(ARGS)

test: deps
	cmake -S . -B build/debug $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DTILMORA_SANITIZE=ON -DBUILD_SHARED_LIBS=OFF -DTILMORA_UNITY_BATCH=8 -DTILMORA_BENCH=OFF
	cmake --build build/debug -j $(JOBS)
	cd build/debug && ctest --output-on-failure -j $(JOBS)

# The platform's tests (the scheduler's real-mode smoke test among them) under ThreadSanitizer.
tsan: deps
	cmake -S . -B build/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DTILMORA_TSAN=ON -DTILMORA_BENCH=OFF
	cmake --build build/tsan --target tests_platform -j $(JOBS)
	cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L platform

# Every benchmark program in a release build, its JSON results in build/bench/results, then one
# table of every operation against its budget (bench/budgets.json). BENCH_REPETITIONS sets the
# repetitions per benchmark (median of them), BENCH_FILTER a benchmark name filter.
BENCH_REPETITIONS ?= 3
BENCH_RESULTS = build/bench/results
bench-build: deps
	cmake -S . -B build/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/bench -j $(JOBS)

bench-run: bench-build
	rm -rf $(BENCH_RESULTS)
	python3 scripts/bench-report run build/bench $(BENCH_RESULTS) --repetitions $(BENCH_REPETITIONS) $(if $(BENCH_FILTER),--filter '$(BENCH_FILTER)')

bench: bench-run
	@python3 scripts/bench-report table $(BENCH_RESULTS) || echo "bench: some operations miss their budgets"

# CI: every benchmark program, built in Release, runs each benchmark once so that none rots; the
# figures are not compared. Fails when a program fails.
bench-smoke: bench-build
	python3 scripts/bench-report run build/bench build/bench/smoke --repetitions 1 --smoke

# Fails when an operation is more than 25% slower than bench/baseline.json and over its budget.
bench-check: bench-run
	python3 scripts/bench-report table $(BENCH_RESULTS) || true
	python3 scripts/bench-report check $(BENCH_RESULTS) bench/baseline.json

# Writes bench/baseline.json from the last run's results.
bench-baseline:
	python3 scripts/bench-report baseline $(BENCH_RESULTS) bench/baseline.json

# Every parser's fuzz target, built with clang's libFuzzer and sanitizers in build/fuzz, run for
# FUZZ_SECONDS seconds each (default 60) on a copy of its seeds; fails on any fault or timeout.
# FUZZ_SEED fixes libFuzzer's random seed (CI uses one, so a run repeats what was run before).
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0
fuzz:
	@bash scripts/install-deps --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTILMORA_FUZZ=ON -DTILMORA_BENCH=OFF -DBUILD_TESTING=OFF
	cmake --build build/fuzz -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_SEED=$(FUZZ_SEED) BUILD=build/fuzz bash fuzz/run-all

format:
	find platform src app tests bench -name '*.[ch]pp' | xargs clang-format -i

clean:
	rm -rf build
