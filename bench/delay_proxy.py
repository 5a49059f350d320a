#!/usr/bin/env python3
"""A TCP relay on 127.0.0.1 that holds every chunk DELAY_MS milliseconds in
each direction, for a round trip as long as a distant server's.
Usage: delay_proxy.py LISTEN_PORT TARGET_PORT DELAY_MS"""
import asyncio
import sys


async def pipe(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            await asyncio.sleep(max(0.0, due - loop.time()))
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.create_task(deliver())
    try:
        while data := await reader.read(65536):
            queue.put_nowait((loop.time() + delay, data))
    finally:
        queue.put_nowait((0, None))
        await sender


async def relay(target, delay, client_reader, client_writer):
    server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
    await asyncio.gather(pipe(client_reader, server_writer, delay),
                         pipe(server_reader, client_writer, delay),
                         return_exceptions=True)


async def main():
    listen, target, delay = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]) / 1000
    server = await asyncio.start_server(
        lambda r, w: relay(target, delay, r, w), "127.0.0.1", listen)
    async with server:
        await server.serve_forever()


asyncio.run(main())
