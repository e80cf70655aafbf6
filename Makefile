# Entry points for people: `make run` and `make test`. CMake does the real work.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_GEN  := -G Ninja
# CI (CI=true, as GitHub Actions and .ci/run set it) builds with warnings as errors.
ifeq ($(CI),true)
WERROR := -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
else
WERROR := -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF
endif

.PHONY: deps build program run test lint format-check sanitize tsan bench fuzz clean package

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)

# Ninja runs as many jobs as there are cores unless told otherwise.
build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

# Only what the program needs (program, components, cpu.txt, jabbly.chm): `make test` builds
# the tests, benchmarks and fuzzers.
program: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target jabbly_program

run: program
	@scripts/run-jabbly.sh $(BUILD)/bin/jabbly

# ctest's JUnit file lists the tests that did not run and why (scripts/test-skips.py).
test: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error --output-junit ctest-junit.xml
	@scripts/test-skips.py $(BUILD)/ctest-junit.xml

# clang-tidy over the program's, the libraries' and the contracts' sources (.clang-tidy).
lint: build
	@scripts/lint.sh $(BUILD)

format-check:
	@scripts/format.sh --check

# The Debian package, written into $(BUILD)/ as jabbly_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# AddressSanitizer, UndefinedBehaviorSanitizer and libstdc++'s debug mode (checked
# iterators and algorithm preconditions); GoogleTest is built from source in that mode.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DJABBLY_SANITIZE=ON $(WERROR)
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error --output-junit ctest-junit.xml
	@scripts/test-skips.py $(ASAN_BUILD)/ctest-junit.xml

# The speech engine's thread test under ThreadSanitizer: only that test and what it needs
# are built.
tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJABBLY_TSAN=ON -DJABBLY_BENCH=OFF
	cmake --build $(TSAN_BUILD) --target test_speech_threads
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 $${TSAN_OPTIONS:-}" ctest -R EspeakThreads --output-on-failure --no-tests=error

# Runs every benchmark program (each also writes its figures as JSON into
# $(BENCH_BUILD)/results/), then the real-window timings, the soak and the memory curves
# when Xvfb is there, and prints and draws the scaling curves (bench/curves.sh); fails when
# any of them fails (crashes, or reports an error).
bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD)
	@failed=""; results=$(BENCH_BUILD)/results; rm -rf $$results; mkdir -p $$results; \
	for b in $(BENCH_BUILD)/bench/bench_*; do \
		echo "== $$b"; \
		"$$b" --benchmark_out=$$results/$$(basename $$b).json --benchmark_out_format=json || failed="$$failed $$b"; \
	done; \
	if command -v xvfb-run >/dev/null 2>&1; then \
		echo "== real window (bench/window/run-window-bench.sh)"; \
		bench/window/run-window-bench.sh $(BENCH_BUILD) || failed="$$failed window_driver"; \
		for s in soak growth growth-bare; do \
			echo "== real window: $$s"; \
			bench/window/run-window-bench.sh $(BENCH_BUILD) $$s --json=$$(realpath $$results)/soak.json || failed="$$failed $$s"; \
		done; \
	else \
		echo "== real window: skipped, xvfb-run is missing"; \
	fi; \
	echo "== scaling curves (bench/curves.sh)"; \
	bench/curves.sh $(BENCH_BUILD) || failed="$$failed curves"; \
	if [ -n "$$failed" ]; then echo "FAILED:$$failed" >&2; exit 1; fi

# libFuzzer runs of every fuzz target, FUZZ_SECONDS each (clang is installed when missing).
fuzz: deps
	@fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD)
