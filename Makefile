# Wraps the build: `make demo` runs the program on the simulated desktop, `make test` builds
# with the sanitizers and runs every test.
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)
CMAKE_COMMON = -G Ninja -DTILMORA_WERROR=$(WERROR)

.PHONY: deps demo run test tsan bench fuzz format clean

deps:
	@bash scripts/install-deps

demo run: deps
	cmake -S . -B build/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DTILMORA_BENCH=OFF
	cmake --build build/release --target tilmora -j $(JOBS)
	./build/release/app/tilmora $(ARGS)

test: deps
	cmake -S . -B build/debug $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DTILMORA_SANITIZE=ON
	cmake --build build/debug -j $(JOBS)
	cd build/debug && ctest --output-on-failure -j $(JOBS)

# The platform's tests (the scheduler's real-mode smoke test among them) under ThreadSanitizer.
tsan: deps
	cmake -S . -B build/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DTILMORA_TSAN=ON -DTILMORA_BENCH=OFF
	cmake --build build/tsan --target tests_platform -j $(JOBS)
	cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L platform

bench: deps
	cmake -S . -B build/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/bench_*; do echo "== $$b"; $$b; done

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
