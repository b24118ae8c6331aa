# Vexadrome's driver: `make run` and `make test` are the two commands of the README.
BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS ?= 2
# Options or files for `make run` (empty: the workbench alone).
ARGS ?=
# Where `make install` puts the program; DESTDIR, when set, is put before it.
PREFIX ?= /usr/local

.PHONY: all deps build run install test sanitize coverage clean bench fuzz

all: build

# Installs the Debian packages the project needs (only the missing ones).
deps:
	./scripts/install-deps.sh

# Configures and builds the program, its libraries and the tests.
build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD_DIR) -j$(JOBS)

# Installs, builds and starts the workbench on the display; without one, on a
# private Xvfb, saving a screenshot (scripts/run-workbench.sh).
run: deps build
	./scripts/run-workbench.sh $(BUILD_DIR) $(ARGS)

# Builds, then installs the program, its libraries, data, desktop entry and
# icon under PREFIX (inside DESTDIR when set, as packages are built).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# Installs, builds and runs every test.
test: deps build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# Builds and runs every test under AddressSanitizer and UBSan.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DVEXADROME_SANITIZE=ON
	cmake --build $(ASAN_BUILD_DIR) -j$(JOBS)
	cd $(ASAN_BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# Builds with gcc line coverage, runs every test and prints the line coverage
# of the libraries and the engine (gcovr, installed by --coverage); exits
# with the tests' status.
COVERAGE_BUILD_DIR ?= build-coverage
COVERAGE_FILTERS = --filter nycore/ --filter nytoolkit/ --filter nyuser/ --filter vexadrome/ \
	--exclude tests/ --exclude bench/ --exclude tools/
coverage:
	./scripts/install-deps.sh --coverage
	cmake -S . -B $(COVERAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DVEXADROME_COVERAGE=ON
	cmake --build $(COVERAGE_BUILD_DIR) -j$(JOBS)
	find $(COVERAGE_BUILD_DIR) -name '*.gcda' -delete
	status=0; (cd $(COVERAGE_BUILD_DIR) && ctest --output-on-failure -j$(JOBS)) || status=$$?; \
	gcovr --root . --object-directory $(COVERAGE_BUILD_DIR) $(COVERAGE_FILTERS) \
		--json $(COVERAGE_BUILD_DIR)/coverage.json --print-summary && \
	for part in nycore nytoolkit nyuser vexadrome; do \
		echo "== $$part"; \
		gcovr --root . --add-tracefile $(COVERAGE_BUILD_DIR)/coverage.json --filter $$part/ \
			--output /dev/null --print-summary | grep '^lines'; \
	done; \
	exit $$status

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(COVERAGE_BUILD_DIR) build-bench build-fuzz

# Builds and runs the benchmarks (installs muparser, which only they use).
bench:
	./scripts/install-deps.sh --bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVEXADROME_BENCH=ON -DVEXADROME_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	./build-bench/bin/expression_bench $(BENCH_ARGS)
	./build-bench/bin/startup_bench
	./build-bench/bin/graph_bench
	./build-bench/bin/help_bench

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS (default 60).
FUZZ_SECONDS ?= 60
fuzz:
	./scripts/install-deps.sh --fuzz
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXADROME_FUZZ=ON -DVEXADROME_TESTS=OFF
	cmake --build build-fuzz -j$(JOBS)
	./tests/fuzz/run.sh build-fuzz/bin $(FUZZ_SECONDS)
