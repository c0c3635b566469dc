technique T { pass P0 { ) }
