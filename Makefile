# Entry points for people: `make run` and `make test`. CMake does the real work.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_GEN  := -G Ninja

.PHONY: deps build run test sanitize bench fuzz clean package

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@scripts/run-jabbly.sh $(BUILD)/bin/jabbly

test: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error

# The Debian package, written into $(BUILD)/ as jabbly_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# AddressSanitizer, UndefinedBehaviorSanitizer and libstdc++'s debug mode (checked
# iterators and algorithm preconditions); GoogleTest is built from source in that mode.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DJABBLY_SANITIZE=ON
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
