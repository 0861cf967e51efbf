# The two commands of the README, and a few more for developers.
.PHONY: all bootstrap build test run bench fuzz clean dist

JOBS ?= 2

all: build

bootstrap:
	@scripts/bootstrap

# The 32-bit product and the 64-bit build that runs under wine64.
build: bootstrap
	cmake --preset win32 >/dev/null && cmake --build build/win32 -j$(JOBS)
	cmake --preset win64-test >/dev/null && cmake --build build/win64-test -j$(JOBS) --target Corrivo

test: bootstrap
	@JOBS=$(JOBS) scripts/test-all

# The download: dist/Corrivo-<VERSION>.zip and dist/SHA256SUMS, rebuildable byte for byte.
dist: bootstrap
	@JOBS=$(JOBS) scripts/dist
	@scripts/check-dist dist/Corrivo-$$(tr -d ' \t\r\n' <VERSION).zip

run: build
	@scripts/run-corrivo

bench: bootstrap
	@scripts/bench

fuzz: bootstrap
	@scripts/fuzz $${FUZZ_SECONDS:-600}

clean:
	scripts/wine-run --shutdown || true
	rm -rf build
