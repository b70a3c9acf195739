# Wraps the build: `make demo` runs the program on the simulated desktop, `make test` builds
# with the sanitizers and runs every test.
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)
CMAKE_COMMON = -G Ninja -DTILMORA_WERROR=$(WERROR)

.PHONY: deps demo run test tsan bench format clean

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

format:
	find platform src app tests bench -name '*.[ch]pp' | xargs clang-format -i

clean:
	rm -rf build
