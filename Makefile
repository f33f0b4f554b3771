# make run   build qh2 and the library (nothing else) in release mode and run qh2
# make test  build and run every test, normally, under ASan/UBSan and without X11
JOBS ?= 2
CMAKE_FLAGS ?=
# The release build's folder, and the command that builds the run target's targets (a test
# gives `ninja -t commands -C DIR` to list what it would build).
BUILD ?= build
RUN_BUILD ?= cmake --build $(BUILD) -j $(JOBS) --target
MAKEFLAGS += --no-print-directory
# Ninja builds: one line per step, no recursive make. Configuring says only what is worth a
# look (warnings and errors). A build folder that another generator made is set up afresh.
CONFIGURE = cmake --log-level=WARNING -G Ninja
define generator_check
@if [ -f $(1)/CMakeCache.txt ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' $(1)/CMakeCache.txt; \
  then rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; fi
endef

.PHONY: run test build build-run build-asan build-nox11 bootstrap bootstrap-run bench fuzz \
	picture format clean

bootstrap-run:
	@scripts/bootstrap.sh run

bootstrap:
	@scripts/bootstrap.sh test

# A build folder made by `make run` leaves the tests and benchmarks out (their packages may
# be missing); one that `make test` made keeps them, but only qh2 is built here.
build-run: bootstrap-run
	$(call generator_check,$(BUILD))
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release \
	  $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF -DSTYLUS_BENCH=OFF) $(CMAKE_FLAGS)
	@$(RUN_BUILD) qh2

run: build-run
	@./$(BUILD)/sim/qh2

build: bootstrap
	$(call generator_check,$(BUILD))
	@$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DSTYLUS_BENCH=ON \
	  -DSTYLUS_PYTHON_TESTS=ON $(CMAKE_FLAGS)
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: bootstrap
	$(call generator_check,build-asan)
	@$(CONFIGURE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSTYLUS_SANITIZE=ON -DSTYLUS_BENCH=OFF \
	  $(CMAKE_FLAGS)
	@cmake --build build-asan -j $(JOBS)

# The library without X11: the screen devices draw off-screen; the same tests must pass.
build-nox11: bootstrap
	$(call generator_check,build-nox11)
	@$(CONFIGURE) -S . -B build-nox11 -DCMAKE_BUILD_TYPE=Release -DSTYLUS_X11=OFF -DSTYLUS_BENCH=OFF \
	  $(CMAKE_FLAGS)
	@cmake --build build-nox11 -j $(JOBS)

test: build build-asan build-nox11
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ctest --test-dir build-nox11 --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/sim_bench
	./$(BUILD)/bench/dmc_bench
	./$(BUILD)/bench/plot_bench
	STYLUS_LIBRARY=$(BUILD)/plot/libstylus.so PYTHONPATH=python PYTHONDONTWRITEBYTECODE=1 \
	  /usr/bin/python3 bench/python_curve.py

# The pictures of the README and docs/ from the library's PNG device: qh2's energy curve,
# and the example of symbols, error bars and legends (examples/c/data_points.c).
picture: build-run
	@cmake --build $(BUILD) -j $(JOBS) --target energy_curve data_points
	@rm -rf $(BUILD)/picture && mkdir -p $(BUILD)/picture/energy $(BUILD)/picture/data
	@cd $(BUILD)/picture/energy && ../../examples/energy_curve PNG >/dev/null
	@cd $(BUILD)/picture/data && ../../examples/data_points PNG >/dev/null
	@cp $(BUILD)/picture/energy/stylus.png docs/energy_curve.png
	@cp $(BUILD)/picture/data/stylus.png docs/data_points.png
	@echo "docs/energy_curve.png: $$(stat -c %s docs/energy_curve.png) bytes"
	@echo "docs/data_points.png: $$(stat -c %s docs/data_points.png) bytes"

# libFuzzer on the call interpreter of tests/fuzz, built with clang and the sanitizers.
FUZZ_SECONDS ?= 600
fuzz: bootstrap
	@scripts/bootstrap.sh test clang libclang-rt-14-dev
	$(call generator_check,build-fuzz)
	@CC=clang CXX=clang++ $(CONFIGURE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug \
	  -DSTYLUS_LIBFUZZER=ON -DSTYLUS_BENCH=OFF $(CMAKE_FLAGS)
	@cmake --build build-fuzz -j $(JOBS) --target stylus_libfuzzer
	@mkdir -p build-fuzz/corpus build-fuzz/artifacts
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
	  build-fuzz/tests/fuzz/stylus_libfuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=60 \
	  -artifact_prefix=$(CURDIR)/build-fuzz/artifacts/ $(CURDIR)/build-fuzz/corpus \
	  $(CURDIR)/tests/fuzz/corpus

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf build build-asan build-nox11 build-fuzz
