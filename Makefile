# make run   build in release mode and run qh2
# make test  build and run every test, normally, under ASan/UBSan and without X11
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test build build-asan build-nox11 bootstrap bench fuzz format clean

bootstrap:
	@scripts/bootstrap.sh

build: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-asan: bootstrap
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSTYLUS_SANITIZE=ON -DSTYLUS_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

# The library without X11: the screen devices draw off-screen; the same tests must pass.
build-nox11: bootstrap
	cmake -S . -B build-nox11 -DCMAKE_BUILD_TYPE=Release -DSTYLUS_X11=OFF -DSTYLUS_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-nox11 -j $(JOBS)

run: build
	./build/sim/qh2

test: build build-asan build-nox11
	ctest --test-dir build --output-on-failure -j $(JOBS)
	ctest --test-dir build-nox11 --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

bench: build
	./build/bench/sim_bench

# libFuzzer on the call interpreter of tests/fuzz, built with clang and the sanitizers.
FUZZ_SECONDS ?= 600
fuzz: bootstrap
	@scripts/bootstrap.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DSTYLUS_LIBFUZZER=ON \
	  -DSTYLUS_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target stylus_libfuzzer
	mkdir -p build-fuzz/corpus
	cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
	  ./tests/fuzz/stylus_libfuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=20 corpus \
	  ../tests/fuzz/corpus

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf build build-asan build-nox11 build-fuzz
