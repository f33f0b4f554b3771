# make run   build in release mode and run qh2
# make test  build and run every test, normally and under ASan/UBSan
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test build build-asan bootstrap bench format clean

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-asan: bootstrap
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSTYLUS_SANITIZE=ON -DSTYLUS_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

run: build
	./build/sim/qh2

test: build build-asan
	ctest --test-dir build --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

bench: build
	./build/bench/sim_bench

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf build build-asan
