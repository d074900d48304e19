#!/usr/bin/python3
"""Checks klem-sim against an independent Modbus master: pymodbus in ASCII framing.

Usage: pymodbus_master.py PATH_TO_KLEM_SIM
Starts `klem-sim --pty --id 5`, talks to it over the pseudo-terminal with pymodbus (2.x or
3.x), and exits 0 when every answer is right, 1 when one is not, 77 when pymodbus is missing.
"""
import inspect
import subprocess
import sys

SKIP = 77

try:
    try:  # pymodbus 3.x
        from pymodbus.client import ModbusSerialClient
        from pymodbus.framer.ascii_framer import ModbusAsciiFramer
        CLIENT_ARGS = {"framer": ModbusAsciiFramer}
    except ImportError:  # pymodbus 2.x
        from pymodbus.client.sync import ModbusSerialClient
        CLIENT_ARGS = {"method": "ascii"}
except ImportError:
    print("pymodbus is not installed")
    sys.exit(SKIP)

DEVICE_ID = 5
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def main():
    sim = subprocess.Popen([sys.argv[1], "--pty", "--id", str(DEVICE_ID)],
                           stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        path = sim.stdout.readline().strip()
        # A pseudo-terminal ignores the line settings; the framing is what is checked here.
        client = ModbusSerialClient(port=path, baudrate=115200, bytesize=8, parity="N",
                                    stopbits=1, timeout=2, retries=0, **CLIENT_ARGS)
        if not client.connect():
            print(f"cannot open {path}")
            return 1
        # The device id keyword is `slave` in pymodbus 3.x and `unit` in 2.x.
        key = "slave" if "slave" in inspect.signature(client.read_coils).parameters else "unit"
        to = {key: DEVICE_ID}

        check("identification", client.read_input_registers(0x8001, 2, **to).registers, [3, 0])
        check("write acceleration", client.write_register(0x5004, 300, **to).isError(), False)
        check("acceleration", client.read_holding_registers(0x5004, 1, **to).registers, [300])
        check("write maximum speed 70000, low register first",
              client.write_registers(0x5000, [0x1170, 0x0001], **to).isError(), False)
        check("maximum speed", client.read_holding_registers(0x5000, 2, **to).registers,
              [0x1170, 0x0001])
        check("write breakpoint activity", client.write_coil(0x6201, True, **to).isError(), False)
        check("breakpoint activity", client.read_coils(0x6200, 4, **to).bits[:4],
              [False, True, False, False])
        check("run/stop", client.read_discrete_inputs(0xF001, 1, **to).bits[:1], [False])
        missing = client.read_holding_registers(0x1234, 1, **to)
        check("missing register", (missing.isError(), getattr(missing, "exception_code", None)),
              (True, 2))
        out_of_range = client.write_register(0x5004, 0, **to)
        check("value out of range",
              (out_of_range.isError(), getattr(out_of_range, "exception_code", None)), (True, 3))
        client.close()
    finally:
        sim.stdin.close()
        try:
            sim.wait(timeout=5)
        except subprocess.TimeoutExpired:
            sim.kill()
            failures.append("klem-sim did not end with its standard input")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
