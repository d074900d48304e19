#!/usr/bin/python3
"""Prints Modbus ASCII frames built by pymodbus (Debian's python3-pymodbus, 3.0) as C++ rows.

An independent implementation of the framing: the rows in modbus_framing_test.cpp were
produced with this script and pasted there. Run: /usr/bin/python3 make_pymodbus_vectors.py
"""
from pymodbus.bit_read_message import ReadCoilsResponse, ReadCoilsRequest, ReadDiscreteInputsRequest
from pymodbus.bit_write_message import WriteSingleCoilRequest
from pymodbus.factory import ClientDecoder
from pymodbus.framer.ascii_framer import ModbusAsciiFramer
from pymodbus.pdu import ExceptionResponse
from pymodbus.register_read_message import (ReadHoldingRegistersRequest, ReadHoldingRegistersResponse,
                                            ReadInputRegistersRequest)
from pymodbus.register_write_message import (WriteMultipleRegistersRequest,
                                             WriteSingleRegisterRequest, WriteSingleRegisterResponse)

framer = ModbusAsciiFramer(ClientDecoder())


def frame(message, unit):
    message.unit_id = unit
    return framer.buildPacket(message).decode().replace("\r\n", "\\r\\n")


requests = [
    ("read holding 0x5000 x2", ReadHoldingRegistersRequest(0x5000, 2), 1),
    ("read input 0x8005 x2", ReadInputRegistersRequest(0x8005, 2), 17),
    ("read coils 0x6200 x4", ReadCoilsRequest(0x6200, 4), 247),
    ("read discrete 0xF001 x1", ReadDiscreteInputsRequest(0xF001, 1), 1),
    ("write register 0x5001 = 300", WriteSingleRegisterRequest(0x5001, 300), 1),
    ("write coil 0x5100 on", WriteSingleCoilRequest(0x5100, True), 1),
    ("write coil 0x5100 off", WriteSingleCoilRequest(0x5100, False), 255),
    ("write registers 0x5000 = 70000", WriteMultipleRegistersRequest(0x5000, [0x1170, 0x0001]), 1),
]
answers = [
    ("read holding answer 0x0010 0x0001", ReadHoldingRegistersResponse([0x0010, 0x0001]), 1),
    ("read holding answer 0xFFFF 0xFFFF", ReadHoldingRegistersResponse([0xFFFF, 0xFFFF]), 17),
    ("read holding answer 0x012C", ReadHoldingRegistersResponse([300]), 1),
    ("read coils answer 1 0 1 1", ReadCoilsResponse([True, False, True, True]), 1),
    ("write register answer", WriteSingleRegisterResponse(0x5001, 300), 1),
    ("exception 2 to read holding", ExceptionResponse(3, 2), 1),
]
for title, message, unit in requests + answers:
    print(f'    {{"{title}", "{frame(message, unit)}"}},')
